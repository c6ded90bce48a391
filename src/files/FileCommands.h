// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SwitchPanelView.h"
#include "model/WorkingState.h"

#include <QString>

namespace kdr {

class FileDialogs;
class StatusBox;

// Saving the window's configuration to a .kdc file and opening one into it.
// A save that fails leaves any earlier file as it was, and an open that fails
// leaves the window and its fields as they were; either failure is told in a
// message box that names the file and the reason. A cancelled dialog does nothing.
class FileCommands {
public:
    static const QString kFilter; // "description|pattern", as the dialog's one entry
    static const QString kSaveTitle;
    static const QString kOpenTitle;
    static const QString kNameMissing;

    // The file a command saved or opened; empty when it did neither.
    struct Done {
        QString file;
        // An open had to cut the panel name to what the box holds: what the window
        // shows is no longer what the file holds.
        bool nameCut = false;
        bool succeeded() const { return !file.isEmpty(); }
    };

    FileCommands(WorkingState &state, SwitchPanelView &view, StatusBox &status, FileDialogs &dialogs);

    Done save();
    Done open();
    // The ten codes collected from the lists as a save collects them; false, with the
    // status box red ("DATA MUST BE ENTERED …") and the switch marked, for an
    // incomplete one.
    bool codesComplete();
    // Where a file dialog starts: the folder of the file used last, else the start folder.
    QString folderForDialogs() const;
    // Opens the file named, without a dialog, with the same checks and messages.
    Done openFile(const QString &path);

    // Where the dialogs start until a file has been used: the folder of the file
    // used last time the program ran, or the user's documents.
    void setStartFolder(const QString &folder) { m_startFolder = folder; }

    // "description|pattern" as a filter for Qt's file dialog.
    static QString dialogFilter(const QString &filter);

private:
    WorkingState &m_state;
    SwitchPanelView &m_view;
    StatusBox &m_status;
    FileDialogs &m_dialogs;
    QString m_startFolder;
    QString m_lastFile; // the file last opened or saved, offered again on opening
};

} // namespace kdr
