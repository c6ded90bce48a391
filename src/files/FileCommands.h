#pragma once

#include "model/SwitchPanelView.h"
#include "model/WorkingState.h"

#include <QString>

namespace kdr {

class FileDialogs;
class StatusBox;

// Saving the window's configuration to a .kdc file and opening one into it.
// Both end silently on every failure after the checks, with the status box hidden:
// a save that fails leaves any earlier file as it was, and an open that fails
// leaves the window and its fields as they were.
class FileCommands {
public:
    static const QString kFilter; // "description|pattern", as the dialog's one entry
    static const QString kSaveTitle;
    static const QString kOpenTitle;
    static const QString kNameMissing;

    FileCommands(WorkingState &state, SwitchPanelView &view, StatusBox &status, FileDialogs &dialogs);

    void save();
    void open();

    // "description|pattern" as a filter for Qt's file dialog.
    static QString dialogFilter(const QString &filter);

private:
    WorkingState &m_state;
    SwitchPanelView &m_view;
    StatusBox &m_status;
    FileDialogs &m_dialogs;
    // The dialog keeps the last file name between uses and offers it on opening.
    QString m_dialogFileName;
};

} // namespace kdr
