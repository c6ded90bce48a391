// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRequest.h"

#include "ProgramArguments.h"

#include "link/PanelPort.h"
#include "model/SwitchPanelView.h"
#include "record/RecordListing.h"

#include <QFileInfo>

#include <map>

namespace kdr::cli {

namespace {

const std::map<QString, Command> kCommands{
    {QStringLiteral("ports"), Command::Ports}, {QStringLiteral("read"), Command::Read},
    {QStringLiteral("write"), Command::Write}, {QStringLiteral("verify"), Command::Verify},
    {QStringLiteral("show"), Command::Show},   {QStringLiteral("station"), Command::Station},
    {QStringLiteral("log"), Command::Log},     {QStringLiteral("sheet"), Command::Sheet},
    {QStringLiteral("find"), Command::Find},
};

} // namespace

const char *usage()
{
#ifdef Q_OS_WIN
#define KDR_DEFAULT_PORT "COM1"
#define KDR_PORT "COM3"
#define KDR_PORT2 "COM4"
#define KDR_PORT_BY_NAME "COM5"
#define KDR_STATION_EXAMPLE "           kdr-panel station coach.kdc --port COM3 --port COM4 --log line.jsonl\n"
#define KDR_STOPPED                                                                                                    \
    "output, the reading's file or the record); 130 stopped by Ctrl+C, Ctrl+Break\n"                                   \
    "or by closing the console. With several ports, the highest.\n"
#else
#define KDR_DEFAULT_PORT "/dev/ttyS0"
#define KDR_PORT "/dev/ttyUSB0"
#define KDR_PORT2 "/dev/ttyUSB1"
#define KDR_PORT_BY_NAME "/dev/serial/by-id/usb-FTDI_..."
#define KDR_STATION_EXAMPLE                                                                                            \
    "           kdr-panel station coach.kdc --port /dev/ttyUSB0 --port /dev/ttyUSB1\\\n"                               \
    "                     --log line.jsonl\n"
#define KDR_STOPPED                                                                                                    \
    "output, the reading's file or the record); 129, 130 or 143 stopped by SIGHUP,\n"                                  \
    "Ctrl+C or SIGTERM. With several ports, the highest.\n"
#endif
    // At most 79 columns, for a console of 80.
    return "Usage: kdr-panel ports   [--json]\n"
           "       kdr-panel read    [--port DEVICE]... [--output FILE.kdc] [--name NAME]\n"
           "                         [--sheet SHEET.pdf] [--log LOG] [--json] [--trace]\n"
           "       kdr-panel write   FILE.kdc [--port DEVICE]... [--log LOG] [--json]\n"
           "                         [--trace]\n"
           "       kdr-panel verify  FILE.kdc [--port DEVICE]... [--log LOG] [--json]\n"
           "                         [--trace]\n"
           "       kdr-panel show    FILE.kdc [--json]\n"
           "       kdr-panel station FILE.kdc [--port DEVICE]... [--count N] [--log LOG]\n"
           "                         [--json] [--trace]\n"
           "       kdr-panel log     LOG [--csv] [--since DATE] [--port DEVICE]\n"
           "       kdr-panel sheet   FILE.kdc --output SHEET.pdf\n"
           "       kdr-panel find    [--port DEVICE]... [--json]\n"
           "       kdr-panel --help | --version\n"
           "\n"
           "Reads, programs and checks 10-button RV switch panels over serial lines,\n"
           "without a window. With several --port options the command runs on all those\n"
           "panels at once. The port is port 1 (" KDR_DEFAULT_PORT ") unless one is named.\n"
           "\n"
           "  ports    list the serial ports of this computer\n"
           "           kdr-panel ports\n"
           "  read     read the ten switch codes of a panel\n"
           "           kdr-panel read --port " KDR_PORT " --output coach.kdc --name COACH\n"
           "  write    program a panel with a configuration file, every code verified\n"
           "           kdr-panel write coach.kdc --port " KDR_PORT " --port " KDR_PORT2 "\n"
           "  verify   read a panel and compare it with a configuration file\n"
           "           kdr-panel verify coach.kdc --port " KDR_PORT_BY_NAME "\n"
           "  show     print what a configuration file holds\n"
           "           kdr-panel show coach.kdc\n"
           "  station  at each port, program panel after panel as they are connected,\n"
           "           until stopped: a line per panel, then disconnect it for the next\n" KDR_STATION_EXAMPLE
           "  log      print a production record as a table, or as CSV for a spreadsheet\n"
           "           kdr-panel log line.jsonl --csv --since 2026-12-10 > today.csv\n"
           "  sheet    make the configuration sheet of a file: a page to print (PDF)\n"
           "           kdr-panel sheet coach.kdc --output coach.pdf\n"
           "  find     greet every serial port at once (the handshake only) and list the\n"
           "           ones a panel answers on; --port names the ports to greet\n"
           "           kdr-panel log line.jsonl --csv --since 2026-12-10 > today.csv\n"
           "\n"
           "  --port DEVICE      a port with a panel; repeat it for several panels\n"
           "  --output FILE      read: save the reading as a configuration file (one port);\n"
           "                     sheet: the PDF to make\n"
           "  --sheet SHEET.pdf  read: make the reading's configuration sheet (one port)\n"
           "  --name NAME        read --output: the panel name to save (at most 12\n"
           "                     characters; the file's name without .kdc when not given)\n"
           "  --log LOG          append a line per panel to the production record LOG\n"
           "                     (JSON Lines); nothing is sent when it cannot be written\n"
           "  --count N          station: end after N panels programmed at each port\n"
           "  --csv              log: CSV (UTF-8) instead of a table\n"
           "  --since DATE       log: only from DATE (2026-12-10, 2026-12-10T14:00) on\n"
           "  --json             one JSON object a line (JSON Lines) instead of text\n"
           "  --trace            every byte sent and received, in hex, on standard error\n"
           "  --simulated-panel  instead of a port, a panel simulated inside the program\n"
           "                     that holds a sample configuration (to try kdr-panel)\n"
           "\n"
           "Exit status: 0 done (and for verify, the panels match); 1 verify found a\n"
           "difference; 2 bad usage or a file that cannot be read or is not valid; 3 a\n"
           "port could not be opened; 4 a panel did not answer; 5 bad data, a failed\n"
           "read-back or a lost connection; 6 the results could not be written (standard\n" KDR_STOPPED;
#undef KDR_DEFAULT_PORT
#undef KDR_STATION_EXAMPLE
#undef KDR_PORT
#undef KDR_PORT2
#undef KDR_PORT_BY_NAME
#undef KDR_STOPPED
}

std::optional<CliRequest> parseArguments(int argc, char *argv[], int &exitStatus)
{
    ProgramArguments line("kdr-panel", usage());
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("DEVICE"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption name(QStringLiteral("name"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption trace(QStringLiteral("trace"));
    const QCommandLineOption simulated(QStringLiteral("simulated-panel"));
    const QCommandLineOption log(QStringLiteral("log"), QString(), QStringLiteral("LOG"));
    const QCommandLineOption count(QStringLiteral("count"), QString(), QStringLiteral("N"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption since(QStringLiteral("since"), QString(), QStringLiteral("DATE"));
    const QCommandLineOption sheet(QStringLiteral("sheet"), QString(), QStringLiteral("SHEET.pdf"));
    for (const QCommandLineOption *option :
         {&port, &output, &name, &json, &trace, &simulated, &log, &count, &csv, &since, &sheet})
        line.addOption(*option);
    if (!line.parse(argc, argv, exitStatus))
        return std::nullopt;
    const auto refuse = [&](const QString &why) -> std::optional<CliRequest> {
        exitStatus = line.refuse(why);
        return std::nullopt;
    };
    const QCommandLineParser &given = line.parsed();
    const QStringList positional = given.positionalArguments();
    if (positional.isEmpty())
        return refuse(QStringLiteral("a command is needed"));
    const QString &first = positional[0];
    const auto command = kCommands.find(first);
    if (command == kCommands.end())
        return refuse(QStringLiteral("unknown command '%1'").arg(first));

    CliRequest request;
    request.command = command->second;
    const Command c = request.command;
    const bool takesFile = c != Command::Ports && c != Command::Read && c != Command::Find;
    const bool usesPorts = c != Command::Ports && c != Command::Show && c != Command::Log && c != Command::Sheet;
    const auto allowed = [&](const QString &option) {
        if (option == QLatin1String("json"))
            return c != Command::Log && c != Command::Sheet;
        if (option == QLatin1String("output"))
            return c == Command::Read || c == Command::Sheet;
        if (option == QLatin1String("name") || option == QLatin1String("sheet"))
            return c == Command::Read;
        if (option == QLatin1String("log"))
            return c == Command::Read || c == Command::Write || c == Command::Verify || c == Command::Station;
        if (option == QLatin1String("count"))
            return c == Command::Station;
        if (option == QLatin1String("csv") || option == QLatin1String("since"))
            return c == Command::Log;
        if (option == QLatin1String("port"))
            return usesPorts || c == Command::Log;
        return usesPorts; // trace, simulated-panel
    };
    for (const QString &option : given.optionNames())
        if (!allowed(option))
            return refuse(QStringLiteral("'--%1' is no option of %2").arg(option, first));
    request.json = given.isSet(json);
    request.trace = given.isSet(trace);
    request.simulatedPanel = given.isSet(simulated);
    request.csv = given.isSet(csv);
    request.sheet = given.value(sheet);
    request.log = given.value(log);
    if (given.isSet(count)) {
        bool whole = false;
        request.count = given.value(count).toInt(&whole);
        if (!whole || request.count < 1)
            return refuse(QStringLiteral("--count takes a whole number of panels, 1 or more"));
    }
    if (given.isSet(since)) {
        request.since = RecordListing::parseSince(given.value(since));
        if (!request.since)
            return refuse(QStringLiteral("--since takes a date, 2026-12-10, or a time, 2026-12-10T14:00"));
    }
    if (c == Command::Log && given.values(port).size() > 1)
        return refuse(QStringLiteral("log shows one --port at a time"));
    for (const QString &device : given.values(port)) {
        if (request.ports.contains(device))
            return refuse(QStringLiteral("%1 is named twice").arg(device));
        // Two names of one device (a link and its target) would be two sessions on one line.
        const QString canonical = QFileInfo(device).canonicalFilePath();
        for (const QString &earlier : std::as_const(request.ports))
            if (!canonical.isEmpty() && QFileInfo(earlier).canonicalFilePath() == canonical)
                return refuse(QStringLiteral("%1 is the same port as %2").arg(device, earlier));
        request.ports << device;
    }
    const QStringList outputs = given.values(output);
    if (outputs.size() > 1)
        return refuse(QStringLiteral("--output is given twice"));
    request.output = outputs.value(0);
    request.panelName = given.value(name);
    if (positional.size() > (takesFile ? 2 : 1))
        return refuse(QStringLiteral("unexpected '%1'").arg(positional.last()));
    if (takesFile && positional.size() < 2)
        return refuse(c == Command::Log ? QStringLiteral("log needs a LOG to read")
                                        : QStringLiteral("%1 needs a FILE.kdc").arg(first));
    request.file = positional.value(1);

    if (request.simulatedPanel && !request.ports.isEmpty())
        return refuse(QStringLiteral("--simulated-panel takes the place of --port"));
    if (request.simulatedPanel)
        request.ports << QStringLiteral("SIMULATED");
    if (usesPorts && request.ports.isEmpty() && c != Command::Find)
        request.ports << PanelPort::defaultDevice();
    if (c == Command::Sheet && request.output.isEmpty())
        return refuse(QStringLiteral("sheet needs --output SHEET.pdf"));
    if (c == Command::Read && (!request.output.isEmpty() || !request.sheet.isEmpty()) && request.ports.size() > 1)
        return refuse(QStringLiteral("--output and --sheet take the reading of one port only"));
    if (!request.panelName.isEmpty() && request.output.isEmpty() && request.sheet.isEmpty())
        return refuse(QStringLiteral("--name goes with --output or --sheet"));
    if (request.panelName.size() > kPanelNameMaxLength)
        return refuse(QStringLiteral("--name takes at most %1 characters").arg(kPanelNameMaxLength));
    return request;
}

} // namespace kdr::cli
