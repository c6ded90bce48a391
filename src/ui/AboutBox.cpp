// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kdr {

const QString AboutBox::kSourceCode = QStringLiteral(KDR_HOMEPAGE);

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ABOUT THIS PROGRAM"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    const QString text =
        QStringLiteral(
            "<p><b>RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM</b><br>Version %1</p>"
            "<p>This program is free software: you may share and change it under the terms of the GNU General "
            "Public License, version 3 or any later version. It comes with no warranty, as far as the law allows.</p>"
            "<p>Built with Qt %2 (running with Qt %3), used under the GNU Lesser General Public License, version 3.</p>"
            "<p>Its source code, and with it how to build the program yourself: <a href=\"%4\">%4</a></p>")
            .arg(QStringLiteral(KDR_VERSION), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()),
                 kSourceCode);
    auto *about = new QLabel(text, this);
    about->setWordWrap(true);
    about->setOpenExternalLinks(true);
    about->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(about);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *licences = buttons->addButton(QStringLiteral("LICENCES\u2026"), QDialogButtonBox::ActionRole);
    QPushButton *qt = buttons->addButton(QStringLiteral("ABOUT QT\u2026"), QDialogButtonBox::ActionRole);
    connect(licences, &QPushButton::clicked, this, &AboutBox::showLicences);
    connect(qt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

QList<std::pair<QString, QString>> AboutBox::licenceTexts()
{
    QList<std::pair<QString, QString>> texts{
        {QStringLiteral("THIS PROGRAM: GNU GENERAL PUBLIC LICENSE, VERSION 3"), QStringLiteral(":/licences/LICENSE")},
        {QStringLiteral("QT: GNU LESSER GENERAL PUBLIC LICENSE, VERSION 3"),
         QStringLiteral(":/licences/packaging/windows/licences/LGPL-3.0.txt")},
    };
#ifdef Q_OS_WIN
    // Built in statically: Qt's bundled libraries and the compiler's runtime.
    texts << std::pair{QStringLiteral("THIRD-PARTY NOTICES"),
                       QStringLiteral(":/licences/packaging/windows/THIRD-PARTY-NOTICES.txt")};
    for (const char *name :
         {"zlib", "pcre2", "harfbuzz", "freetype", "libpng", "double-conversion", "md4c", "tinycbor", "easing",
          "rfc6234", "sha3", "blake2", "icc", "gcc-runtime-library-exception", "mingw-w64"})
        texts << std::pair{QString::fromLatin1(name).toUpper(),
                           QStringLiteral(":/licences/packaging/windows/licences/%1.txt").arg(QLatin1String(name))};
#endif
    return texts;
}

void AboutBox::showLicences()
{
    QDialog viewer(this);
    viewer.setWindowTitle(QStringLiteral("LICENCES"));
    auto *layout = new QVBoxLayout(&viewer);
    auto *which = new QComboBox(&viewer);
    which->setAccessibleName(QStringLiteral("LICENCE"));
    auto *shown = new QPlainTextEdit(&viewer);
    shown->setReadOnly(true);
    shown->setAccessibleName(QStringLiteral("LICENCE TEXT"));
    shown->setLineWrapMode(QPlainTextEdit::NoWrap);
    const auto texts = licenceTexts();
    for (const auto &[title, path] : texts)
        which->addItem(title, path);
    const auto load = [shown, which] {
        QFile file(which->currentData().toString());
        shown->setPlainText(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    };
    connect(which, &QComboBox::currentIndexChanged, &viewer, load);
    load();
    layout->addWidget(which);
    layout->addWidget(shown);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &viewer);
    connect(buttons, &QDialogButtonBox::rejected, &viewer, &QDialog::reject);
    layout->addWidget(buttons);
    viewer.resize(640, 520);
    viewer.exec();
}

} // namespace kdr
