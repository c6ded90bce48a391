// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <cstdio>

// Qt aborts a window program that finds no display; say so plainly instead.
inline bool desktopAvailable(const char *program)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "%s: no display found: start it from a desktop session, or set DISPLAY "
                     "(for example under Xvfb)\n",
                     program);
        return false;
    }
#else
    Q_UNUSED(program);
#endif
    return true;
}
