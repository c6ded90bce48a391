// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QWidget;

namespace kdr::ScreenFit {

// The window's client area at 100 %: its controls stand at fixed places in it.
QSize clientSizeAt100();

// Called before the application object exists, as Qt takes its scale from the
// environment then. On Windows, where the display's scale would make the window
// larger than the work area of the screen it opens on, title bar and frame included
// (125 % or 150 % on a 1366 × 768 laptop), the window is drawn at the largest scale
// that fits, never below 100 %, with every proportion kept. Where it fits, where the
// user set a scale of their own (QT_SCALE_FACTOR), and elsewhere, nothing changes.
void scaleToFit();

// Once shown: moved, where it is not, so that its frame lies within the available
// area of its screen.
void keepOnScreen(QWidget &window);

} // namespace kdr::ScreenFit
