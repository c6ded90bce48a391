// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ProgramArguments.h"

#include <QString>
#include <QStringList>

#include <optional>

// The window program's command line: [--port DEVICE] [FILE.kdc], --help, --version.
// Read before the window system is started, so that --help works without a display.
struct WindowArguments {
    QString port; // empty: the port the window remembers
    QString file; // empty: none to open at start
};

inline const char *windowUsage()
{
#ifdef Q_OS_WIN
#define KDR_PORT_LINES                                                                                                 \
    "  --port DEVICE  talk to the panel on DEVICE for this run, e.g. COM3 or\n"                                        \
    "                 \\\\.\\COM12; the port chosen in the window and remembered for\n"                                \
    "                 next time stays as it is\n"
#else
#define KDR_PORT_LINES                                                                                                 \
    "  --port DEVICE  talk to the panel on DEVICE for this run, e.g. /dev/ttyUSB0 or\n"                                \
    "                 /dev/serial/by-id/usb-FTDI_...; the port chosen in the window\n"                                 \
    "                 and remembered for next time stays as it is\n"
#endif
    return "Usage: kdr-switch-panel [--port DEVICE] [FILE.kdc]\n"
           "       kdr-switch-panel --help | --version\n"
           "\n"
           "Reads, changes and writes the assignments of the 10-button RV switch panel\n"
           "over a serial cable, and keeps them in configuration files (.kdc).\n"
           "\n" KDR_PORT_LINES "  FILE.kdc       open this configuration file at start\n"
           "  --help         show this help and exit\n"
           "  --version      show the version and exit\n";
#undef KDR_PORT_LINES
}

inline const char *simulatedWindowUsage()
{
    return "Usage: kdr-switch-panel-simulated [--help | --version]\n"
           "\n"
           "The switch panel tool's window against a panel simulated inside the program,\n"
           "which holds a sample configuration. Nothing it writes reaches a real panel.\n";
}

// Whether the simulated window is to start; if not, the exit status: 0 after --help
// or --version, 2 after anything else.
inline bool parseSimulatedWindowArguments(int argc, char *argv[], int &exitStatus)
{
    kdr::cli::ProgramArguments line("kdr-switch-panel-simulated", simulatedWindowUsage());
    if (!line.parse(argc, argv, exitStatus))
        return false;
    if (const QStringList extra = line.parsed().positionalArguments(); !extra.isEmpty()) {
        exitStatus = line.refuse(QStringLiteral("unknown argument '%1'").arg(extra.first()));
        return false;
    }
    return true;
}

// The arguments, or an exit status when the program is to end at once (0 after
// --help or --version, 2 after a mistake).
inline std::optional<WindowArguments> parseWindowArguments(int argc, char *argv[], int &exitStatus)
{
    kdr::cli::ProgramArguments line("kdr-switch-panel", windowUsage());
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("DEVICE"));
    line.addOption(port);
    if (!line.parse(argc, argv, exitStatus))
        return std::nullopt;
    const QStringList files = line.parsed().positionalArguments();
    if (files.size() > 1) {
        exitStatus = line.refuse(QStringLiteral("only one file can be opened"));
        return std::nullopt;
    }
    return WindowArguments{line.parsed().value(port), files.value(0)};
}
