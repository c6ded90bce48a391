// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtFileDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace kdr {

namespace {

std::optional<QString> chosen(const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

} // namespace

std::optional<QString> QtFileDialogs::saveFileName(const QString &title, const QString &filter,
                                                   const QString &presetName)
{
    return chosen(QFileDialog::getSaveFileName(m_parent, title, presetName, filter));
}

std::optional<QString> QtFileDialogs::openFileName(const QString &title, const QString &filter,
                                                   const QString &presetName)
{
    return chosen(QFileDialog::getOpenFileName(m_parent, title, presetName, filter));
}

const QString QtFileDialogs::kSaveQuestion = QStringLiteral("Save changes to the configuration before closing?");
const QString QtFileDialogs::kSaveBeforeReadingQuestion =
    QStringLiteral("Save changes to the configuration before reading the switch panel?");

FileDialogs::CloseAnswer QtFileDialogs::askSaveChanges(LosingEdits before)
{
    QMessageBox box(QMessageBox::Question, m_parent ? m_parent->windowTitle() : QString(),
                    before == LosingEdits::Closing ? kSaveQuestion : kSaveBeforeReadingQuestion,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return CloseAnswer::Save;
    case QMessageBox::Discard:
        return CloseAnswer::Discard;
    default:
        return CloseAnswer::Cancel;
    }
}

void QtFileDialogs::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_parent ? m_parent->windowTitle() : QString(), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

} // namespace kdr
