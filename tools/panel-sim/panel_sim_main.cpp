// SPDX-License-Identifier: GPL-3.0-or-later
// panel-sim: a simulated switch panel on a pseudo-terminal. It prints the terminal's
// path; point a serial program at it (or link it to the first serial port) and
// watch the traffic it logs.
#include "PtyPanel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace kdr::sim;

namespace {

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A simulated 10-switch panel on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Answer nothing."));
    const QCommandLineOption ack(QStringLiteral("handshake-reply"), QStringLiteral("Answer \"A\" with TEXT."),
                                 QStringLiteral("TEXT"));
    const QCommandLineOption writeAck(QStringLiteral("write-ack"), QStringLiteral("Acknowledge writes with TEXT."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption answerFrom(QStringLiteral("answer-from"),
                                        QStringLiteral("Answer \"A\" only from the N-th one."), QStringLiteral("N"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Reply MS milliseconds late."),
                                   QStringLiteral("MS"));
    const QCommandLineOption drip(QStringLiteral("drip"), QStringLiteral("Send replies a byte every MS milliseconds."),
                                  QStringLiteral("MS"));
    const QCommandLineOption trailing(QStringLiteral("trailing"), QStringLiteral("Add TEXT after every reply."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption readReply(QStringLiteral("read-reply"),
                                       QStringLiteral("Answer reads of ADDRESS with TEXT (empty: no reply)."),
                                       QStringLiteral("ADDRESS=TEXT"));
    const QCommandLineOption hangUp(QStringLiteral("hang-up-after"), QStringLiteral("Hang up after N commands."),
                                    QStringLiteral("N"));
    const QCommandLineOption plugs(QStringLiteral("plug-cycle"),
                                   QStringLiteral("Panels plugged in for IN ms, then out for OUT ms, TIMES times."),
                                   QStringLiteral("IN,OUT,TIMES"));
    const QCommandLineOption codes(QStringLiteral("codes"), QStringLiteral("Codes stored at addresses 0, 1, …"),
                                   QStringLiteral("C0,C1,..."));
    const QCommandLineOption link(QStringLiteral("link"), QStringLiteral("Keep a symbolic link PATH to the terminal."),
                                  QStringLiteral("PATH"));
    parser.addOptions(
        {silent, ack, writeAck, answerFrom, delay, drip, trailing, readReply, hangUp, plugs, codes, link});
    parser.process(app);

    PanelFaults faults;
    faults.silent = parser.isSet(silent);
    if (parser.isSet(ack))
        faults.handshakeReply = parser.value(ack).toLatin1();
    if (parser.isSet(writeAck))
        faults.writeAcknowledgement = parser.value(writeAck).toLatin1();
    faults.answerFromHandshake = parser.value(answerFrom).toInt() > 0 ? parser.value(answerFrom).toInt() : 1;
    faults.replyDelay = std::chrono::milliseconds(parser.value(delay).toInt());
    faults.dripInterval = std::chrono::milliseconds(parser.value(drip).toInt());
    faults.trailing = parser.value(trailing).toLatin1();
    faults.hangUpAfterCommands = parser.value(hangUp).toInt();
    if (const QStringList cycle = parser.value(plugs).split(QLatin1Char(',')); cycle.size() == 3)
        faults.plugs = {std::chrono::milliseconds(cycle[0].toInt()), std::chrono::milliseconds(cycle[1].toInt()),
                        cycle[2].toInt()};
    for (const QString &entry : parser.values(readReply)) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0)
            faults.readReplyAt.insert(entry.left(eq).toInt(), entry.mid(eq + 1).toLatin1());
    }

    PtyPanel panel(faults, parser.value(link));
    QTextStream out(stdout);
    if (!panel.isPluggedIn()) {
        QTextStream(stderr) << "could not open a pseudo-terminal\n";
        return 1;
    }
    const QStringList stored = parser.value(codes).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int a = 0; a < stored.size() && a < SimulatedPanel::kAddresses; ++a)
        panel.panel().setCode(a, stored[a].toInt());

    out << "panel on " << panel.devicePath() << Qt::endl;
    QObject::connect(&panel, &PtyPanel::commandReceived, [&](const QByteArray &bytes) {
        out << panel.elapsedMs() << " ms  <- " << hex(bytes) << Qt::endl;
        // What a write left in the panel, for whoever checks that it was programmed.
        if (bytes.startsWith('S')) {
            QStringList all;
            for (int a = 0; a < SimulatedPanel::kAddresses; ++a)
                all << QString::number(panel.panel().code(a));
            out << "stored " << all.join(QLatin1Char(',')) << Qt::endl;
        }
    });
    QObject::connect(&panel, &PtyPanel::replied, [&](const QByteArray &bytes) {
        out << panel.elapsedMs() << " ms  -> " << hex(bytes) << "  \"" << QString::fromLatin1(bytes) << "\""
            << Qt::endl;
    });
    QObject::connect(&panel, &PtyPanel::panelPlugged, [&](bool present) {
        out << panel.elapsedMs() << (present ? " ms  panel plugged in" : " ms  panel unplugged") << Qt::endl;
    });
    QObject::connect(&panel, &PtyPanel::hungUp, [&] {
        out << panel.elapsedMs() << " ms  hung up" << Qt::endl;
        QCoreApplication::quit();
    });
    return app.exec();
}
