// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace kdr {

// The file dialogs and the message boxes of the file commands and of closing,
// replaceable so that they can run without a person at the screen.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file name; empty when the person cancelled.
    virtual std::optional<QString> saveFileName(const QString &title, const QString &filter,
                                                const QString &presetName) = 0;
    virtual std::optional<QString> openFileName(const QString &title, const QString &filter,
                                                const QString &presetName) = 0;
    // A modal message with an OK button.
    virtual void showMessage(const QString &text) = 0;

    enum class CloseAnswer { Save, Discard, Cancel };
    // What would lose the unsaved changes: the window closing, or a panel read
    // (which empties the name and the designations).
    enum class LosingEdits { Closing, Reading };
    // Asks whether to save unsaved changes first.
    virtual CloseAnswer askSaveChanges(LosingEdits before) = 0;
};

} // namespace kdr
