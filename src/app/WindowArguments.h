// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

// The window program's command line: [--port DEVICE] [FILE.kdc], --help, --version.
// Read before the window system is started, so that --help works without a display.
struct WindowArguments {
    QString port; // empty: the port the window remembers
    QString file; // empty: none to open at start
};

inline const char *windowUsage()
{
    return "Usage: kdr-switch-panel [--port DEVICE] [FILE.kdc]\n"
           "       kdr-switch-panel --help | --version\n"
           "\n"
           "Reads, changes and writes the assignments of the 10-button RV switch panel\n"
           "over a serial cable, and keeps them in configuration files (.kdc).\n"
           "\n"
           "  --port DEVICE  talk to the panel on DEVICE for this run, e.g. /dev/ttyUSB0,\n"
           "                 /dev/serial/by-id/usb-FTDI_..., COM3; the port chosen in the\n"
           "                 window and remembered for next time stays as it is\n"
           "  FILE.kdc       open this configuration file at start\n"
           "  --help         show this help and exit\n"
           "  --version      show the version and exit\n";
}

inline const char *simulatedWindowUsage()
{
    return "Usage: kdr-switch-panel-simulated [--help | --version]\n"
           "\n"
           "The switch panel tool's window against a panel simulated inside the program,\n"
           "which holds a sample configuration. Nothing it writes reaches a real panel.\n";
}

// --help or --version answered (exit status 0): true.
inline bool answeredHelpOrVersion(const QString &argument, const char *program, const char *usage, int &exitStatus)
{
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
        std::fputs(usage, stdout);
    else if (argument == QLatin1String("--version"))
        std::printf("%s %s\n", program, KDR_VERSION);
    else
        return false;
    exitStatus = 0;
    return true;
}

// Whether the simulated window is to start; if not, the exit status: 0 after --help
// or --version, 2 after anything else, with the usage on standard error.
inline bool parseSimulatedWindowArguments(const QStringList &arguments, int &exitStatus)
{
    constexpr const char *program = "kdr-switch-panel-simulated";
    if (arguments.size() < 2)
        return true;
    if (answeredHelpOrVersion(arguments[1], program, simulatedWindowUsage(), exitStatus))
        return false;
    std::fprintf(stderr, "%s: unknown argument '%s'\n%s", program, qPrintable(arguments[1]), simulatedWindowUsage());
    exitStatus = 2;
    return false;
}

// The arguments, or an exit status when the program is to end at once (0 after
// --help or --version, 2 after a mistake, with the usage on standard error).
inline std::optional<WindowArguments> parseWindowArguments(const QStringList &arguments, int &exitStatus)
{
    WindowArguments parsed;
    const auto refuse = [&exitStatus](const QString &why) -> std::optional<WindowArguments> {
        std::fprintf(stderr, "kdr-switch-panel: %s\n%s", qPrintable(why), windowUsage());
        exitStatus = 2;
        return std::nullopt;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (answeredHelpOrVersion(argument, "kdr-switch-panel", windowUsage(), exitStatus))
            return std::nullopt;
        if (argument == QLatin1String("--port") || argument.startsWith(QLatin1String("--port="))) {
            const bool inline_ = argument.contains(QLatin1Char('='));
            if (!inline_ && i + 1 >= arguments.size())
                return refuse(QStringLiteral("--port needs a DEVICE"));
            parsed.port = inline_ ? argument.section(QLatin1Char('='), 1) : arguments[++i];
            if (parsed.port.isEmpty())
                return refuse(QStringLiteral("--port needs a DEVICE"));
            continue;
        }
        if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-"))
            return refuse(QStringLiteral("unknown option '%1'").arg(argument));
        if (!parsed.file.isEmpty())
            return refuse(QStringLiteral("only one file can be opened"));
        parsed.file = argument;
    }
    return parsed;
}
