// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SwitchCodes.h"

#include <QDateTime>
#include <QLocale>
#include <QPageSize>
#include <QString>

#include <array>

class QPagedPaintDevice;

namespace kdr {

// What a configuration sheet shows: the panel's configuration as a technician can
// read it without the tool, and sign.
struct SheetContent {
    QString panelName;
    QString fileName; // the configuration file's name, or empty when there is none
    QDateTime made;   // when the sheet was made (shown in local time)
    QString version;  // the tool's
    std::array<Code, kSwitchCount> codes{};
    std::array<QString, kSwitchCount> designations{};
};

namespace ConfigurationSheet {

// The paper of the user's country: Letter in the United States and Canada, A4
// elsewhere.
QPageSize paperFor(const QLocale &locale);

// One page: the panel name, the file's name, the time and the tool's version; the
// panel's face with each switch's designation and assignment written at the switch,
// large enough to read on a printed label; a table of SW1 to SW10 (module, channel,
// code, designation); a line for the technician's signature and the date. All text is
// text, searchable and sharp at any size. `device` must be open for painting.
void paint(QPagedPaintDevice &device, const SheetContent &content);

// The sheet as a PDF file on that paper, replacing an earlier one in one step; empty
// on success, else why not, in plain words.
QString save(const QString &path, const SheetContent &content, const QPageSize &paper);

} // namespace ConfigurationSheet

} // namespace kdr
