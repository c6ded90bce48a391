// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceKit.h"

#include "AboutBox.h"

#include "files/ConfigurationFile.h"
#include "files/FileCommands.h"
#include "files/FileDialogs.h"
#include "link/SerialPorts.h"
#include "model/StatusBox.h"
#include "model/StatusTexts.h"
#include "model/SwitchPanelView.h"
#include "model/SystemErrorText.h"
#include "model/WorkingState.h"
#include "operations/PanelJobs.h"
#include "sheet/ConfigurationSheet.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

#include <algorithm>

namespace kdr {

const QString ServiceKit::kSheetTitle = QStringLiteral("SAVE CONFIGURATION SHEET");
const QString ServiceKit::kSheetFilter = QStringLiteral("CONFIGURATION SHEETS (*.pdf)");
const QString ServiceKit::kTraceTitle = QStringLiteral("SAVE WIRE TRACE");
const QString ServiceKit::kTraceFilter = QStringLiteral("WIRE TRACES (*.txt)");
const QString ServiceKit::kNoTrace = QStringLiteral("No panel operation has run yet: there is no wire trace to save.");

namespace {

QString inFolder(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

ServiceKit::ServiceKit(Window window, QObject *parent) : QObject(parent), m_window(std::move(window))
{
    keepWireTraceIn(&m_trace);
}

ServiceKit::~ServiceKit()
{
    forgetWireTraceIn(&m_trace);
}

void ServiceKit::saveSheet()
{
    if (!m_window.files.codesComplete())
        return;
    SheetContent content;
    content.panelName = m_window.view.panelNameText();
    content.fileName = m_window.file().isEmpty() ? QString() : QFileInfo(m_window.file()).fileName();
    content.made = QDateTime::currentDateTime();
    content.version = QStringLiteral(KDR_VERSION);
    for (int i = 0; i < kSwitchCount; ++i) {
        content.codes[i] = m_window.state.sw[i].w;
        content.designations[i] = m_window.view.designationText(i);
    }
    const QString name =
        content.panelName.isEmpty()
            ? QStringLiteral("configuration-sheet.pdf")
            : ConfigurationFile::fileNameFor(content.panelName).replace(QStringLiteral(".kdc"), QStringLiteral(".pdf"));
    const auto chosen =
        m_window.dialogs.saveFileName(kSheetTitle, kSheetFilter, inFolder(m_window.files.folderForDialogs(), name));
    if (!chosen || chosen->isEmpty())
        return;
    QString problem = ConfigurationFile::problemSavingTo(*chosen);
    if (problem.isEmpty())
        problem = ConfigurationSheet::save(*chosen, content, ConfigurationSheet::paperFor(QLocale::system()));
    if (!problem.isEmpty())
        m_window.dialogs.showMessage(QStringLiteral("Could not save \"%1\": %2.").arg(shown(*chosen), problem));
}

QString ServiceKit::traceText() const
{
    const QList<WireTraceMemory::Operation> operations = m_trace.operations();
    const auto time = [](const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")); };
    QString text = QStringLiteral("KDR switch panel tool %1, wire trace\n").arg(QStringLiteral(KDR_VERSION));
    text += QStringLiteral("System: %1 (%2, %3)\n")
                .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion());
    text += QStringLiteral("Port: %1\n").arg(m_window.device());
    text += QStringLiteral("Saved: %1\n").arg(time(QDateTime::currentDateTime()));
    text += QStringLiteral("Operations: %1 (the last %2 are kept)\n")
                .arg(operations.size())
                .arg(WireTraceMemory::kOperations);
    for (const WireTraceMemory::Operation &operation : operations) {
        text += QStringLiteral("\n%1 on %2, %3 to %4: %5\n")
                    .arg(operation.what, operation.device, time(operation.began),
                         operation.ended.isValid() ? time(operation.ended) : QStringLiteral("(not ended)"),
                         operation.outcome);
        for (const QString &line : operation.lines)
            text += line + u'\n';
        if (operation.cut)
            text += QStringLiteral("(more lines were left out: at most %1 kB are kept an operation)\n")
                        .arg(WireTraceMemory::kOperationBytes / 1024);
    }
    return text;
}

void ServiceKit::saveTrace()
{
    if (m_trace.operations().isEmpty()) {
        m_window.dialogs.showMessage(kNoTrace);
        return;
    }
    const QString name =
        QStringLiteral("wire-trace-%1.txt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
    const auto chosen =
        m_window.dialogs.saveFileName(kTraceTitle, kTraceFilter, inFolder(m_window.files.folderForDialogs(), name));
    if (!chosen || chosen->isEmpty())
        return;
    QString problem = ConfigurationFile::problemSavingTo(*chosen);
    if (problem.isEmpty()) {
        QSaveFile file(*chosen);
        const QByteArray bytes = traceText().toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            problem = plainSystemError(file.errorString());
    }
    if (!problem.isEmpty())
        m_window.dialogs.showMessage(QStringLiteral("Could not save \"%1\": %2.").arg(shown(*chosen), problem));
}

void ServiceKit::findPanel()
{
    if (m_search)
        return;
    StatusBox &status = m_window.status;
    const QStringList ports = m_window.ports();
    status.setStatusColour(StatusColour::Yellow);
    status.setStatusText(StatusTexts::kSearching);
    status.showStatus();
    const auto ended = [this, &status, count = ports.size()](const QList<PortReport> &reports) {
        // Over before its outcome is shown and its port chosen; deleted later, not from
        // inside the jobs' own signal: they end their threads when deleted.
        if (m_search)
            m_search.release()->deleteLater();
        const auto found = std::find_if(reports.begin(), reports.end(),
                                        [](const PortReport &report) { return report.result.succeeded(); });
        if (found != reports.end()) {
            status.setStatusColour(StatusColour::Green);
            status.setStatusText(StatusTexts::panelFoundOn(shortDeviceName(found->device)));
            m_window.choose(found->device);
        } else {
            status.setStatusColour(StatusColour::Red);
            status.setStatusText(StatusTexts::noPanelAnswered(count));
        }
        emit searchEnded();
    };
    if (ports.isEmpty())
        return ended({});
    m_search = std::make_unique<PanelJobs>(ports, PanelJobs::Operation::Greet);
    connect(m_search.get(), &PanelJobs::finished, this, ended);
    m_search->start();
}

void ServiceKit::showAbout()
{
    AboutBox box(m_window.parent);
    box.exec();
}

} // namespace kdr
