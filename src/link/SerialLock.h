// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kdr {

// Whether another program that is still running holds a lock file for the device
// in the customary places (/run/lock, /var/lock: "LCK..<name>", the process number
// as text, as serial programs have long written it, or as four raw bytes). Such a
// lock is never removed here: the port counts as in use. Always false where there
// are no lock files.
bool lockedByAnotherProgram(const QString &device);

} // namespace kdr
