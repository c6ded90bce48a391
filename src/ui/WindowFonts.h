#pragma once

#include "ControlTable.h"

#include <QFont>

namespace kdr {

// The window's fonts at the pixel sizes their point sizes have at 96 dots per
// inch, so that every caption fits its control whatever the screen reports.
// "MS Sans Serif" and "Arial" fall back to metric-compatible faces where missing.
QFont windowFont(FontRole role);

} // namespace kdr
