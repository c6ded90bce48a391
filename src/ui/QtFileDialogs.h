// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileDialogs.h"

class QWidget;

namespace kdr {

// The platform's standard file dialogs and a plain message box, over the window.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget *parent) : m_parent(parent) {}

    std::optional<QString> saveFileName(const QString &title, const QString &filter,
                                        const QString &presetName) override;
    std::optional<QString> openFileName(const QString &title, const QString &filter,
                                        const QString &presetName) override;
    void showMessage(const QString &text) override;
    CloseAnswer askSaveChanges(LosingEdits before) override;

    static const QString kSaveQuestion;
    static const QString kSaveBeforeReadingQuestion;

private:
    QWidget *m_parent;
};

} // namespace kdr
