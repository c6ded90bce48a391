#include "FileCommands.h"

#include "FileDialogs.h"
#include "KdcFormat.h"

#include "model/StatusBox.h"
#include "model/StatusTexts.h"
#include "model/SwitchDecoding.h"
#include "model/SwitchSelection.h"

#include <QFile>
#include <QSaveFile>

namespace kdr {

namespace {

std::optional<QByteArray> readSmallFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Anything this large is no configuration: refuse it before reading it whole.
    if (file.size() > Kdc::kMaxFileSize)
        return std::nullopt;
    QByteArray bytes = file.read(Kdc::kMaxFileSize + 1);
    if (bytes.size() > Kdc::kMaxFileSize)
        return std::nullopt;
    return bytes;
}

bool writeAtomically(const QString &name, const QByteArray &bytes)
{
    QSaveFile file(name);
    // Unbuffered, so that a short write (a full disk) shows here and not as a
    // silently truncated file after commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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

void FileCommands::save()
{
    m_status.hideStatus();
    m_state.error_flag = 0;
    const std::optional<int> incomplete = CollectSwitchCodes(m_state, listPositionsOf(m_view));
    m_state.BL = kClosingValue;

    if (m_state.error_flag == 1) {
        m_view.showFailedSwitch(incomplete.value_or(-1));
        m_status.showStatus();
        m_status.setStatusColour(StatusColour::Red);
        m_status.setStatusText(StatusTexts::kIncomplete);
        return;
    }
    if (m_view.panelNameText().isEmpty()) {
        m_dialogs.showMessage(kNameMissing);
        return;
    }

    m_dialogFileName = m_view.panelNameText() + QStringLiteral(".kdc");
    const auto chosen = m_dialogs.saveFileName(kSaveTitle, dialogFilter(kFilter), m_dialogFileName);
    if (!chosen || chosen->isEmpty())
        return;
    m_dialogFileName = *chosen;

    KdcRecord record;
    record.panel = m_view.panelNameText();
    for (int i = 0; i < kSwitchCount; ++i) {
        record.designations[i] = m_view.designationText(i);
        record.codes[i] = m_state.sw[i].w;
    }
    record.closing = m_state.BL;
    if (const auto line = Kdc::format(record))
        writeAtomically(*chosen, *line);
}

void FileCommands::open()
{
    m_status.hideStatus();

    const auto chosen = m_dialogs.openFileName(kOpenTitle, dialogFilter(kFilter), m_dialogFileName);
    if (!chosen || chosen->isEmpty())
        return;
    m_dialogFileName = *chosen;

    // The whole file is read and checked before anything of it is applied.
    const auto bytes = readSmallFile(*chosen);
    if (!bytes)
        return;
    const auto record = Kdc::parse(*bytes);
    if (!record)
        return;

    m_state.panel = record->panel;
    for (int i = 0; i < kSwitchCount; ++i) {
        m_state.sw[i].desig = record->designations[i];
        m_state.sw[i].s = record->codes[i];
    }
    m_state.BL = record->closing;

    m_view.setPanelNameText(m_state.panel);
    for (int i = 0; i < kSwitchCount; ++i) {
        m_view.setDesignationText(i, m_state.sw[i].desig);
        m_view.setDesignationVisible(i, true);
        m_state.A = m_state.sw[i].s;
        DecodeSwitchCode(m_state);
        m_view.selectModulePosition(i, m_state.h_index);
        // "N/A" and "BL/MR" need no channel: the hidden channel list keeps the switch's
        // own, rather than the position an earlier switch's code left behind.
        if (!isCompleteModulePosition(m_state.h_index))
            m_view.selectChannelPosition(i, m_state.l_index);
    }
}

} // namespace kdr
