#pragma once

#include <QString>

#include <optional>

namespace kdr {

// The file dialogs and the one message box of the file commands, replaceable so
// that the commands can run without a person at the screen.
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
};

} // namespace kdr
