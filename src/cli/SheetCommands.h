// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/KdcFormat.h"
#include "sheet/ConfigurationSheet.h"

#include <QString>

#include <array>

namespace kdr::cli {

// kdr-panel's configuration sheets: of a file (sheet), and of a reading (read --sheet).

// What a window would show after opening the file: its panel name as the box takes
// it, its designations and the codes it writes.
SheetContent sheetOfFile(const KdcRecord &record, const QString &file, const std::array<Code, kSwitchCount> &codes);
// A reading: the codes read, the panel name given (or none), no designations.
SheetContent sheetOfReading(const std::array<Code, kSwitchCount> &codes, const QString &panelName, const QString &file);

// Makes the sheet on the paper of the user's country; the exit status (6, said, when
// it could not be written).
int makeSheet(const QString &path, const SheetContent &content);

} // namespace kdr::cli
