// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetCommands.h"

#include "CliReport.h"
#include "ConsoleText.h"

#include "files/ConfigurationFile.h"

#include <QFileInfo>

namespace kdr::cli {

namespace {

SheetContent stamped(const QString &file)
{
    SheetContent content;
    content.fileName = file.isEmpty() ? QString() : QFileInfo(file).fileName();
    content.made = QDateTime::currentDateTime();
    content.version = QStringLiteral(KDR_VERSION);
    return content;
}

} // namespace

SheetContent sheetOfFile(const KdcRecord &record, const QString &file, const std::array<Code, kSwitchCount> &codes)
{
    SheetContent content = stamped(file);
    content.panelName = ConfigurationFile::openedPanelName(record);
    content.codes = codes;
    content.designations = record.designations;
    return content;
}

SheetContent sheetOfReading(const std::array<Code, kSwitchCount> &codes, const QString &panelName, const QString &file)
{
    SheetContent content = stamped(file);
    content.panelName = panelName;
    content.codes = codes;
    return content;
}

int makeSheet(const QString &path, const SheetContent &content)
{
    QString problem = ConfigurationFile::problemSavingTo(path);
    if (problem.isEmpty())
        problem = ConfigurationSheet::save(path, content, ConfigurationSheet::paperFor(QLocale::system()));
    if (problem.isEmpty())
        return kSucceeded;
    writeText(
        Stream::Err,
        (terminalSafePath(QStringLiteral("kdr-panel: %1: could not save the sheet: %2").arg(path, problem)) + u'\n')
            .toUtf8());
    return kOutputFailed;
}

} // namespace kdr::cli
