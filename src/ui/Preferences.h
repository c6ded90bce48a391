// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kdr {

// What the window remembers for the user between runs, kept with QSettings under
// the organisation and application names the program sets.
namespace Preferences {

// The serial port last chosen; empty when none was.
QString rememberedPort();
void rememberPort(const QString &device);

// The folder of the configuration file last opened or saved; the user's documents
// folder when none was.
QString fileFolder();
void rememberFileFolder(const QString &folder);

} // namespace Preferences

} // namespace kdr
