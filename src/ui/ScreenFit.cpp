// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenFit.h"

#include "ControlTable.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QByteArray>

#include <windows.h>

#include <shellscalingapi.h>
#endif

namespace kdr::ScreenFit {

QSize clientSizeAt100()
{
    return {kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel};
}

void scaleToFit()
{
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return;
    // The window opens on the primary screen. The program is aware of each monitor's
    // scale (its manifest says so), so these figures are in the screen's own pixels.
    const HMONITOR monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    UINT dpiX = 96, dpiY = 96;
    if (!::GetMonitorInfoW(monitor, &info) || ::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY) != S_OK)
        return;
    const double scale = double(dpiY) / 96.0;
    if (scale <= 1.0)
        return;
    // The title bar and frame of a window of fixed size at that scale.
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectExForDpi(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0, dpiY);
    const QSize client = clientSizeAt100();
    const RECT &work = info.rcWork;
    const double fits = std::min(double(work.right - work.left - (frame.right - frame.left)) / double(client.width()),
                                 double(work.bottom - work.top - (frame.bottom - frame.top)) / double(client.height()));
    if (fits >= scale)
        return;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(std::max(1.0, fits) / scale, 'f', 4));
#endif
}

void keepOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (available.contains(frame))
        return;
    // As far left and up as needed, never past the area's left or top edge.
    const int left = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int top = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    window.move(left, top);
}

} // namespace kdr::ScreenFit
