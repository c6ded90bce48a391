#include "PtyPanel.h"

#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace kdr::sim {

PtyPanel::PtyPanel(PanelFaults faults, QString linkPath, QObject *parent)
    : QObject(parent), m_panel(std::move(faults)), m_linkPath(std::move(linkPath))
{
    m_clock.start();
    plugIn();
}

PtyPanel::~PtyPanel()
{
    hangUp();
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

QString PtyPanel::devicePath() const
{
    return m_linkPath.isEmpty() ? m_terminal : m_linkPath;
}

QList<QByteArray> PtyPanel::commands() const
{
    QList<QByteArray> all;
    for (const Received &r : m_received)
        all.append(r.bytes);
    return all;
}

int PtyPanel::countOf(const QByteArray &command) const
{
    return int(commands().count(command));
}

bool PtyPanel::plugIn()
{
    if (m_master >= 0)
        return true;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return false;
    }
    m_terminal = QString::fromLocal8Bit(::ptsname(master));
    // Keeping one end of the terminal open ourselves means the master never sees a
    // hang-up while the tool has its port closed between operations.
    m_slaveKeeper = ::open(m_terminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (m_slaveKeeper >= 0 && ::tcgetattr(m_slaveKeeper, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slaveKeeper, TCSANOW, &raw);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_master = master;
    m_commandCount = 0;
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
    emit hungUp();
}

void PtyPanel::onReadable()
{
    char buffer[256];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0)
        return;
    const qint64 now = m_clock.elapsed();
    for (const SimulatedPanel::Command &command : m_panel.receive(QByteArray(buffer, n))) {
        m_received.append({now, command.bytes});
        ++m_commandCount;
        emit commandReceived(command.bytes);
        const int hangUpAfter = m_panel.faults().hangUpAfterCommands;
        if (hangUpAfter > 0 && m_commandCount >= hangUpAfter) {
            QTimer::singleShot(0, this, &PtyPanel::hangUp);
            return;
        }
        if (!command.reply)
            continue;
        const PanelFaults &faults = m_panel.faults();
        const int delay = faults.replyDelayAt.value(command.address(), faults.replyDelayMs);
        const QByteArray reply = *command.reply;
        if (faults.dripIntervalMs > 0) {
            for (qsizetype i = 0; i < reply.size(); ++i)
                QTimer::singleShot(delay + int(i) * faults.dripIntervalMs, Qt::PreciseTimer, this,
                                   [this, byte = reply.mid(i, 1)] { send(byte); });
        } else if (delay > 0) {
            QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, reply] { send(reply); });
        } else {
            send(reply);
        }
    }
}

void PtyPanel::send(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    m_lastReplyAtNs = m_clock.nsecsElapsed();
    emit replied(bytes);
    if (const int stall = m_panel.faults().stallAfterReplyMs; stall > 0)
        QThread::msleep(stall);
}

} // namespace kdr::sim
