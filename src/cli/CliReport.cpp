// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliReport.h"

#include "files/ConfigurationFile.h"
#include "link/SerialPorts.h"
#include "model/StatusTexts.h"
#include "model/SwitchCodes.h"
#include "model/SwitchDecoding.h"
#include "model/SwitchPanelView.h"
#include "operations/StepStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace kdr::cli {

namespace {

QByteArray jsonLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonArray codesJson(const OperationResult &result)
{
    QJsonArray codes;
    for (const auto &code : result.codesRead)
        codes << (code ? QJsonValue(int(*code)) : QJsonValue(QJsonValue::Null));
    return codes;
}

QString switchName(int index)
{
    return QStringLiteral("SW%1").arg(index + 1);
}

// "SW1 " … "SW10" at the start of a row, so that the rows line up.
QString rowName(int index)
{
    return switchName(index).leftJustified(4);
}

// The reason a port could not be opened, as the status box gives it, for a message line.
QString openProblem(PortOpenError error)
{
    const QString reason = portOpenReason(error).toLower();
    return reason.isEmpty() ? QStringLiteral("the system refused it") : reason;
}

} // namespace

QString statusOf(const PortReport &report, Shown what)
{
    const OperationResult &result = report.result;
    if (result.outcome == OperationOutcome::Interrupted)
        return QStringLiteral("STOPPED");
    if (what == Shown::Verify && result.succeeded())
        return report.differences.isEmpty()
                   ? QStringLiteral("THE SWITCH PANEL MATCHES THE FILE")
                   : QStringLiteral("THE SWITCH PANEL DIFFERS FROM THE FILE AT %1 SWITCH%2")
                         .arg(report.differences.size())
                         .arg(report.differences.size() == 1 ? QString() : QStringLiteral("ES"));
    return result.statusText;
}

int exitStatusOf(const PortReport &report)
{
    if (!report.problem.isEmpty())
        return kOutputFailed;
    switch (report.result.outcome) {
    case OperationOutcome::Succeeded:
        return report.differences.isEmpty() ? kSucceeded : kDiffers;
    case OperationOutcome::PortNotOpened:
        return kPortNotOpened;
    case OperationOutcome::Incomplete:
        return kUsage;
    case OperationOutcome::NoResponse:
        return kNoResponse;
    case OperationOutcome::Busy:
    case OperationOutcome::BadData:
    case OperationOutcome::ConnectionLost:
    case OperationOutcome::Interrupted:
        break;
    }
    return kBadData;
}

QString codeText(std::optional<Code> code)
{
    if (!code)
        return QStringLiteral("-");
    const Assignment assignment = assignmentOf(*code);
    QString text = assignment.module;
    if (!assignment.channel.isEmpty())
        text += QStringLiteral("  ") + assignment.channel;
    return text + QStringLiteral("  (%1)").arg(*code);
}

QByteArray portsText(const QList<SerialPortDescription> &ports, bool json)
{
    QByteArray out;
    for (const SerialPortDescription &port : ports) {
        if (json) {
            out += jsonLine({{QStringLiteral("port"), port.device},
                             {QStringLiteral("description"), port.description},
                             {QStringLiteral("manufacturer"), port.manufacturer},
                             {QStringLiteral("serialNumber"), port.serialNumber},
                             {QStringLiteral("usb"), port.usbId()}});
            continue;
        }
        QStringList fields{port.device};
        for (const QString &field : {port.description, port.manufacturer, port.serialNumber, port.usbId()})
            if (!field.isEmpty())
                fields << field;
        out += fields.join(QStringLiteral("  ")).toUtf8() + '\n';
    }
    return out;
}

QByteArray showText(const KdcRecord &record, const std::array<Code, kSwitchCount> &codes, bool json)
{
    // The window and a write keep only what the name box holds.
    const QString opened = ConfigurationFile::openedPanelName(record);
    const QString nameCut = opened != record.panel
                                ? QStringLiteral("THE PANEL NAME IS LONGER THAN %1 CHARACTERS: IT OPENS AS \"%2\"")
                                      .arg(kPanelNameMaxLength)
                                      .arg(terminalSafe(opened))
                                : QString();
    if (json) {
        QJsonArray designations, codeList;
        for (int i = 0; i < kSwitchCount; ++i) {
            designations << record.designations[i];
            codeList << int(codes[i]);
        }
        QJsonObject object{{QStringLiteral("name"), record.panel},
                           {QStringLiteral("designations"), designations},
                           {QStringLiteral("codes"), codeList}};
        if (!nameCut.isEmpty())
            object.insert(QStringLiteral("status"), nameCut);
        return jsonLine(object);
    }
    QString text = QStringLiteral("PANEL NAME  %1\n").arg(terminalSafe(record.panel));
    if (!nameCut.isEmpty())
        text += nameCut + QLatin1Char('\n');
    for (int i = 0; i < kSwitchCount; ++i)
        text += QStringLiteral("%1  \"%2\"  %3\n")
                    .arg(rowName(i), terminalSafe(record.designations[i]), codeText(codes[i]));
    return text.toUtf8();
}

QByteArray reportText(const QList<PortReport> &reports, Shown what, const std::array<Code, kSwitchCount> &expected,
                      bool json)
{
    QByteArray out;
    for (const PortReport &report : reports) {
        const OperationResult &result = report.result;
        if (json) {
            QJsonObject object{{QStringLiteral("port"), report.device},
                               {QStringLiteral("ok"), exitStatusOf(report) == kSucceeded},
                               {QStringLiteral("status"), statusOf(report, what)},
                               {QStringLiteral("seconds"), report.seconds}};
            if (!report.problem.isEmpty())
                object.insert(QStringLiteral("problem"), report.problem);
            if (what != Shown::Write)
                object.insert(QStringLiteral("codes"), codesJson(result));
            if (what == Shown::Verify) {
                QJsonArray differences;
                for (int i : report.differences)
                    differences << i + 1;
                object.insert(QStringLiteral("differences"), differences);
            }
            if (result.failedSwitch >= 0)
                object.insert(QStringLiteral("failedSwitch"), result.failedSwitch + 1);
            out += jsonLine(object);
            continue;
        }
        QString text;
        if (reports.size() > 1)
            text += QStringLiteral("PORT %1\n").arg(terminalSafePath(report.device));
        const bool anyRead = std::any_of(result.codesRead.begin(), result.codesRead.end(),
                                         [](const auto &code) { return code.has_value(); });
        if (what == Shown::Read && anyRead) {
            for (int i = 0; i < kSwitchCount; ++i)
                text += QStringLiteral("%1  %2\n").arg(rowName(i), codeText(result.codesRead[i]));
        }
        if (what == Shown::Verify) {
            for (int i : report.differences)
                text += QStringLiteral("%1  panel %2  file %3\n")
                            .arg(rowName(i), codeText(result.codesRead[i]), codeText(expected[i]));
        }
        // A verify's verdict follows the read's own status text.
        if (what == Shown::Verify && result.succeeded())
            text += result.statusText + QLatin1Char('\n');
        // The status names the port where it could not be opened.
        text += terminalSafePath(statusOf(report, what)) + QLatin1Char('\n');
        if (!report.problem.isEmpty())
            text += QStringLiteral("THE READING WAS NOT SAVED: %1\n").arg(terminalSafePath(report.problem));
        out += text.toUtf8();
    }
    return out;
}

QByteArray findText(const QList<PortReport> &reports, bool json)
{
    QByteArray out;
    QString found;
    qsizetype width = 0;
    for (const PortReport &report : reports)
        width = std::max(width, terminalSafePath(report.device).size());
    for (const PortReport &report : reports) {
        const OperationResult &result = report.result;
        const bool answered = result.succeeded();
        if (answered && found.isEmpty())
            found = report.device;
        const QString skipped =
            result.outcome == OperationOutcome::PortNotOpened ? openProblem(result.portError) : QString();
        if (json) {
            QJsonObject object{{QStringLiteral("port"), report.device}, {QStringLiteral("answered"), answered}};
            if (!skipped.isEmpty())
                object.insert(QStringLiteral("skipped"), skipped);
            out += jsonLine(object);
            continue;
        }
        const QString said = answered            ? QStringLiteral("a panel answered")
                             : skipped.isEmpty() ? QStringLiteral("no answer")
                                                 : QStringLiteral("skipped: ") + skipped;
        out += (terminalSafePath(report.device).leftJustified(width) + QStringLiteral("  ") + said + u'\n').toUtf8();
    }
    if (!json)
        out += terminalSafePath(found.isEmpty() ? StatusTexts::noPanelAnswered(reports.size())
                                                : StatusTexts::panelFoundOn(found))
                   .toUtf8() +
               '\n';
    return out;
}

int findStatus(const QList<PortReport> &reports)
{
    return std::any_of(reports.begin(), reports.end(), [](const PortReport &r) { return r.result.succeeded(); })
               ? kSucceeded
               : kNoResponse;
}

QString problemLine(const PortReport &report)
{
    const OperationResult &result = report.result;
    QString problem = report.problem;
    const QString where = result.failedSwitch >= 0 ? QStringLiteral(" at ") + switchName(result.failedSwitch)
                                                   : QStringLiteral(" at address 10");
    switch (result.outcome) {
    case OperationOutcome::Succeeded:
        if (problem.isEmpty() && !report.differences.isEmpty())
            problem = QStringLiteral("differs from the file");
        break;
    case OperationOutcome::PortNotOpened:
        problem = QStringLiteral("could not open: ") + openProblem(result.portError);
        break;
    case OperationOutcome::NoResponse:
        problem = QStringLiteral("the panel did not answer");
        break;
    case OperationOutcome::BadData:
        problem = QStringLiteral("bad switch panel data") + where;
        break;
    case OperationOutcome::ConnectionLost:
        problem = QStringLiteral("the connection was lost") +
                  (result.greeted ? where : QStringLiteral(" during the greeting, before SW1"));
        break;
    case OperationOutcome::Interrupted:
        problem = QStringLiteral("stopped");
        break;
    case OperationOutcome::Incomplete:
    case OperationOutcome::Busy:
        problem = result.statusText.toLower();
        break;
    }
    return problem.isEmpty() ? QString() : QStringLiteral("kdr-panel: %1: %2").arg(report.device, problem);
}

} // namespace kdr::cli
