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

void QtFileDialogs::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_parent ? m_parent->windowTitle() : QString(), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

} // namespace kdr
