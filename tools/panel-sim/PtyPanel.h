// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AnsweringPanel.h"

#include <QString>

class QSocketNotifier;

namespace kdr::sim {

// A simulated panel at the far end of a pseudo-terminal, running in the caller's
// event loop: open devicePath() as a serial port and talk to it as to a panel.
//
// hangUp() closes the terminal as an unplugged cable would; plugIn() makes a new
// one. With a link path given, that path points at the current terminal while
// there is one and is gone while unplugged, so a port opened by that name finds
// the panel again after a new plug-in, and nothing else meanwhile.
class PtyPanel : public AnsweringPanel {
    Q_OBJECT
public:
    explicit PtyPanel(PanelFaults faults = {}, QString linkPath = {}, QObject *parent = nullptr);
    ~PtyPanel() override;

    bool isPluggedIn() const override { return m_master >= 0; }
    QString devicePath() const; // the link path if there is one, else the terminal

    bool plugIn();
    void hangUp() override;

protected:
    bool write(const QByteArray &bytes) override;

private:
    void onReadable();

    QString m_linkPath;
    QString m_terminal;
    int m_master = -1;
    int m_slaveKeeper = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace kdr::sim
