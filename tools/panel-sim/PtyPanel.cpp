// SPDX-License-Identifier: GPL-3.0-or-later
#include "PtyPanel.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace kdr::sim {

PtyPanel::PtyPanel(PanelFaults faults, QString linkPath, QObject *parent)
    : AnsweringPanel(std::move(faults), parent), m_linkPath(std::move(linkPath))
{
    plugIn();
}

PtyPanel::~PtyPanel()
{
    hangUp();
}

QString PtyPanel::devicePath() const
{
    return m_linkPath.isEmpty() ? m_terminal : m_linkPath;
}

bool PtyPanel::plugIn()
{
    if (m_master >= 0)
        return true;
    // Close-on-exec: a program started from here (a test's kdr-panel) must not hold the
    // terminal open behind the panel's back, or no hang-up would ever reach the tool.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return false;
    }
    m_terminal = QString::fromLocal8Bit(::ptsname(master));
    // Keeping one end of the terminal open ourselves means the master never sees a
    // hang-up while the tool has its port closed between operations.
    m_slaveKeeper = ::open(m_terminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slaveKeeper >= 0 && ::tcgetattr(m_slaveKeeper, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slaveKeeper, TCSANOW, &raw);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    pluggedIn();
    m_notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPanel::onReadable);
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
        QFile::link(m_terminal, m_linkPath);
    }
    return true;
}

void PtyPanel::hangUp()
{
    if (m_master < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_master);
    m_master = -1;
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    m_slaveKeeper = -1;
    // The name goes with the adapter, as udev takes its link away: left behind, it would
    // lead to whichever terminal next takes the number, another test's panel.
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
    emit hungUp();
}

void PtyPanel::onReadable()
{
    char buffer[256];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n > 0)
        receive(QByteArray(buffer, n));
}

bool PtyPanel::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return true;
}

} // namespace kdr::sim
