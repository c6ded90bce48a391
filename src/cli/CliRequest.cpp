// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRequest.h"

#include "link/PanelPort.h"
#include "model/SwitchPanelView.h"

#include <QFileInfo>

#include <cstdio>
#include <map>

namespace kdr::cli {

namespace {

const std::map<QString, Command> kCommands{
    {QStringLiteral("ports"), Command::Ports}, {QStringLiteral("read"), Command::Read},
    {QStringLiteral("write"), Command::Write}, {QStringLiteral("verify"), Command::Verify},
    {QStringLiteral("show"), Command::Show},
};

} // namespace

const char *usage()
{
    return "Usage: kdr-panel ports  [--json]\n"
           "       kdr-panel read   [--port DEVICE]... [--output FILE.kdc] [--name NAME] [--json] [--trace]\n"
           "       kdr-panel write  FILE.kdc [--port DEVICE]... [--json] [--trace]\n"
           "       kdr-panel verify FILE.kdc [--port DEVICE]... [--json] [--trace]\n"
           "       kdr-panel show   FILE.kdc [--json]\n"
           "       kdr-panel --help | --version\n"
           "\n"
           "Reads, programs and checks 10-button RV switch panels over serial lines, without a\n"
           "window. With several --port options the command runs on all those panels at once.\n"
           "The port is port 1 (/dev/ttyS0, COM1) unless one is named.\n"
           "\n"
           "  ports    list the serial ports of this computer\n"
           "           kdr-panel ports\n"
           "  read     read the ten switch codes of a panel\n"
           "           kdr-panel read --port /dev/ttyUSB0 --output coach.kdc --name COACH\n"
           "  write    program a panel with a configuration file, every code verified\n"
           "           kdr-panel write coach.kdc --port /dev/ttyUSB0 --port /dev/ttyUSB1\n"
           "  verify   read a panel and compare it with a configuration file\n"
           "           kdr-panel verify coach.kdc --port /dev/serial/by-id/usb-FTDI_...\n"
           "  show     print what a configuration file holds\n"
           "           kdr-panel show coach.kdc\n"
           "\n"
           "  --port DEVICE    a port with a panel; repeat it for several panels\n"
           "  --output FILE    read: save the reading as a configuration file (one port only)\n"
           "  --name NAME      read --output: the panel name to save (at most 12 characters;\n"
           "                   the file's name without .kdc when not given)\n"
           "  --json           one JSON object a line (JSON Lines) instead of text\n"
           "  --trace          every byte sent and received, in hex, on standard error\n"
           "  --simulated-panel  instead of a port, a panel simulated inside the program that\n"
           "                   holds a sample configuration (to try kdr-panel without one)\n"
           "\n"
           "Exit status: 0 done (and for verify, the panels match); 1 verify found a\n"
           "difference; 2 bad usage or a file that cannot be read or is not valid; 3 a port\n"
           "could not be opened; 4 a panel did not answer; 5 bad data, a failed read-back or\n"
           "a lost connection; 6 the results could not be written (standard output, or the\n"
           "reading's file); 129, 130 or 143 stopped by SIGHUP, Ctrl+C or SIGTERM. With\n"
           "several ports, the highest.\n";
}

std::optional<CliRequest> parseArguments(const QStringList &arguments, int &exitStatus)
{
    const auto refuse = [&exitStatus](const QString &why) -> std::optional<CliRequest> {
        std::fprintf(stderr, "kdr-panel: %s\n%s", qPrintable(why), usage());
        exitStatus = 2;
        return std::nullopt;
    };
    if (arguments.size() < 2)
        return refuse(QStringLiteral("a command is needed"));
    const QString first = arguments[1];
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        std::fputs(usage(), stdout);
        exitStatus = 0;
        return std::nullopt;
    }
    if (first == QLatin1String("--version")) {
        std::printf("kdr-panel %s\n", KDR_VERSION);
        exitStatus = 0;
        return std::nullopt;
    }
    const auto command = kCommands.find(first);
    if (command == kCommands.end())
        return refuse(QStringLiteral("unknown command '%1'").arg(first));

    CliRequest request;
    request.command = command->second;
    const bool takesFile =
        request.command == Command::Write || request.command == Command::Verify || request.command == Command::Show;
    const bool usesPorts = request.command != Command::Ports && request.command != Command::Show;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return std::nullopt;
            return arguments[++i];
        };
        if (argument == QLatin1String("--json")) {
            request.json = true;
        } else if (argument == QLatin1String("--trace") && usesPorts) {
            request.trace = true;
        } else if (argument == QLatin1String("--simulated-panel") && usesPorts) {
            request.simulatedPanel = true;
        } else if (argument == QLatin1String("--port") && usesPorts) {
            const auto port = value();
            if (!port)
                return refuse(QStringLiteral("--port needs a DEVICE"));
            if (request.ports.contains(*port))
                return refuse(QStringLiteral("%1 is named twice").arg(*port));
            // Two names of one device (a link and its target) would be two sessions on one line.
            const QString device = QFileInfo(*port).canonicalFilePath();
            for (const QString &earlier : std::as_const(request.ports))
                if (!device.isEmpty() && QFileInfo(earlier).canonicalFilePath() == device)
                    return refuse(QStringLiteral("%1 is the same port as %2").arg(*port, earlier));
            request.ports << *port;
        } else if (argument == QLatin1String("--output") && request.command == Command::Read) {
            const auto output = value();
            if (!output)
                return refuse(QStringLiteral("--output needs a FILE"));
            if (!request.output.isEmpty())
                return refuse(QStringLiteral("--output is given twice"));
            request.output = *output;
        } else if (argument == QLatin1String("--name") && request.command == Command::Read) {
            const auto name = value();
            if (!name)
                return refuse(QStringLiteral("--name needs a NAME"));
            request.panelName = *name;
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            return refuse(QStringLiteral("'%1' is no option of %2").arg(argument, first));
        } else if (takesFile && request.file.isEmpty()) {
            request.file = argument;
        } else {
            return refuse(QStringLiteral("unexpected '%1'").arg(argument));
        }
    }
    if (takesFile && request.file.isEmpty())
        return refuse(QStringLiteral("%1 needs a FILE.kdc").arg(first));
    if (request.simulatedPanel && !request.ports.isEmpty())
        return refuse(QStringLiteral("--simulated-panel takes the place of --port"));
    if (request.simulatedPanel)
        request.ports << QStringLiteral("SIMULATED");
    if (usesPorts && request.ports.isEmpty())
        request.ports << PanelPort::defaultDevice();
    if (!request.output.isEmpty() && request.ports.size() > 1)
        return refuse(QStringLiteral("--output takes the reading of one port only"));
    if (!request.panelName.isEmpty() && request.output.isEmpty())
        return refuse(QStringLiteral("--name goes with --output"));
    if (request.panelName.size() > kPanelNameMaxLength)
        return refuse(QStringLiteral("--name takes at most %1 characters").arg(kPanelNameMaxLength));
    return request;
}

} // namespace kdr::cli
