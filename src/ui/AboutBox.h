// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace kdr {

// What the program is, as an interactive program under the GPL tells its user: its
// name and version, that it is free software under the GNU General Public License
// version 3 or later and comes without warranty, with the licence's full text one
// click away (and on Windows those of everything built into the program), the Qt it
// is built with and Qt's licence, and where its source code is.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // The homepage that names where the source code is.
    static const QString kSourceCode;

    explicit AboutBox(QWidget *parent = nullptr);

    // The licence texts the box can show: a title and a resource path each.
    static QList<std::pair<QString, QString>> licenceTexts();

private:
    void showLicences();
};

} // namespace kdr
