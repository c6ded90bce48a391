// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ControlTable.h"

#include <QFont>

#include <thread>

namespace kdr {

// The window's fonts at the pixel sizes their point sizes have at 96 dots per
// inch, so that every caption fits its control whatever the screen reports.
// "MS Sans Serif" and "Arial" fall back to metric-compatible faces where missing.
QFont windowFont(FontRole role);

// Parses the system's font configuration on another thread. Most of what the first
// font of a process costs is this parsing; started first thing in main(), it is done
// while the application connects to the display. (Where Qt does not take its fonts
// from fontconfig, it does nothing.)
void startReadingFontConfiguration();

// Loads Qt's list of installed fonts on another thread, from construction until
// waitUntilLoaded() or destruction, after the font configuration has been read
// (it reads it itself if startReadingFontConfiguration() was not called). The
// controls that need no font are made meanwhile. (Whatever uses a font before the
// wait simply waits there for the list.)
class FontListLoader {
public:
    FontListLoader();
    ~FontListLoader();
    FontListLoader(const FontListLoader &) = delete;
    FontListLoader &operator=(const FontListLoader &) = delete;

    void waitUntilLoaded();

private:
    std::thread m_loading;
};

} // namespace kdr
