// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace kdr {

// A switch's designation box (`Text3` … `Text12`): takes only what a configuration
// file can store and shows a text from its start.
//
// Its tool tip is the only text that says what it is for, so it is also the box's
// accessible name. It is shown as any tool tip, but it is not the widget's
// `toolTip`: Qt would make that the box's description too, and a screen reader
// would say the same words twice.
class DesignationBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DesignationBox(const QString &text, QWidget *parent = nullptr);

    void showText(const QString &text);
    void setNamingToolTip(const QString &text);

protected:
    bool event(QEvent *event) override;

private:
    QString m_toolTip;
};

} // namespace kdr
