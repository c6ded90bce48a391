// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

// Points QSettings at a folder of this test program's own, so that tests neither
// read the user's choices nor disturb each other when run side by side.
class IsolatedSettings {
public:
    IsolatedSettings()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("KDR"));
        QCoreApplication::setApplicationName(QStringLiteral("kdr-switch-panel"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
    }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};
