// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCommands.h"

#include "ConfigurationFile.h"
#include "FileDialogs.h"
#include "KdcFormat.h"

#include "model/StatusBox.h"
#include "model/StatusTexts.h"

#include <QDir>
#include <QFileInfo>

namespace kdr {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

const QString FileCommands::kFilter = QStringLiteral("KALDORAN CONFIGURATION FILES (*.kdc)|*.kdc");
const QString FileCommands::kSaveTitle = QStringLiteral("WRITE CONFIGURATION FILE");
const QString FileCommands::kOpenTitle = QStringLiteral("READ CONFIGURATION FILE");
const QString FileCommands::kNameMissing = QStringLiteral("Name must be entered in PANEL NAME field");

FileCommands::FileCommands(WorkingState &state, SwitchPanelView &view, StatusBox &status, FileDialogs &dialogs)
    : m_state(state), m_view(view), m_status(status), m_dialogs(dialogs)
{
}

QString FileCommands::dialogFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    // Qt takes the patterns from the parentheses of the description.
    if (description.contains(QLatin1Char('(')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QString FileCommands::folderForDialogs() const
{
    return m_lastFile.isEmpty() ? m_startFolder : QFileInfo(m_lastFile).absolutePath();
}

bool FileCommands::codesComplete()
{
    m_status.hideStatus();
    const std::optional<int> incomplete = collectCodesForWriting(m_state, m_view);
    if (m_state.error_flag != 1)
        return true;
    m_view.showFailedSwitch(incomplete.value_or(-1));
    m_status.showStatus();
    m_status.setStatusColour(StatusColour::Red);
    m_status.setStatusText(StatusTexts::kIncomplete);
    return false;
}

FileCommands::Done FileCommands::save()
{
    if (!codesComplete())
        return {};
    if (m_view.panelNameText().isEmpty()) {
        m_dialogs.showMessage(kNameMissing);
        return {};
    }

    const QString name = ConfigurationFile::fileNameFor(m_view.panelNameText());
    const QString preset = folderForDialogs().isEmpty() ? name : QDir(folderForDialogs()).filePath(name);
    const auto chosen = m_dialogs.saveFileName(kSaveTitle, dialogFilter(kFilter), preset);
    if (!chosen || chosen->isEmpty())
        return {};

    const auto line = Kdc::format(ConfigurationFile::recordOf(m_state, m_view));
    const QString problem = line ? ConfigurationFile::save(*chosen, *line)
                                 : QStringLiteral("a text holds a character the file cannot store");
    if (!problem.isEmpty()) {
        m_dialogs.showMessage(QStringLiteral("Could not save \"%1\": %2.").arg(shown(*chosen), problem));
        return {};
    }
    m_lastFile = *chosen;
    return {*chosen};
}

FileCommands::Done FileCommands::open()
{
    m_status.hideStatus();
    const QString preset = m_lastFile.isEmpty() ? m_startFolder : m_lastFile;
    const auto chosen = m_dialogs.openFileName(kOpenTitle, dialogFilter(kFilter), preset);
    if (!chosen || chosen->isEmpty())
        return {};
    return openFile(*chosen);
}

FileCommands::Done FileCommands::openFile(const QString &path)
{
    m_status.hideStatus();
    // The whole file is read and checked before anything of it is applied.
    const ConfigurationFile::Loaded loaded = ConfigurationFile::load(path);
    if (!loaded.record) {
        m_dialogs.showMessage(QStringLiteral("Could not open \"%1\": %2.").arg(shown(path), loaded.problem));
        return {};
    }
    ConfigurationFile::apply(*loaded.record, m_state, m_view);
    m_lastFile = path;
    return {path, ConfigurationFile::openedPanelName(*loaded.record) != loaded.record->panel};
}

} // namespace kdr
