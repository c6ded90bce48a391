// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every text the status box shows, in one place: technicians know them by heart
// and the guide quotes them, so they never change wording.
namespace kdr::StatusTexts {

inline const QString kCommunicationsOk = QStringLiteral("COMMUNICATIONS OK");
inline const QString kCorrupted = QStringLiteral("COMMUNICATIONS CORRUPTED");
inline const QString kFailedToVerify = QStringLiteral("DATA FAILED TO VERIFY");
inline const QString kOutOfRange = QStringLiteral("ERROR - DATA OUT OF RANGE");

inline const QString kStartingRead = QStringLiteral("STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION");
inline const QString kStartingWrite = QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION");
inline const QString kNoResponse = QStringLiteral("COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND");
inline const QString kBadData = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
inline const QString kReadSuccessful = QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL");
inline const QString kProgrammed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
inline const QString kIncomplete =
    QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");

// Why a port could not be opened, added to the text below when known.
inline const QString kPortInUse = QStringLiteral("IN USE BY ANOTHER PROGRAM");
inline const QString kPortPermissionDenied = QStringLiteral("PERMISSION DENIED");
inline const QString kPortMissing = QStringLiteral("NO SUCH PORT");
inline const QString kPortNotSerial = QStringLiteral("NOT A SERIAL PORT");

inline QString portNotOpened(const QString &device, const QString &reason = {})
{
    QString text = QStringLiteral("COMMUNICATIONS FAILURE-SERIAL PORT %1 COULD NOT BE OPENED").arg(device);
    if (!reason.isEmpty())
        text += QStringLiteral(" - ") + reason;
    return text;
}

// Finding the panel: which port it answers on.
inline const QString kSearching = QStringLiteral("SEARCHING FOR THE SWITCH PANEL");
inline QString panelFoundOn(const QString &device)
{
    return QStringLiteral("SWITCH PANEL FOUND ON %1").arg(device);
}
inline QString noPanelAnswered(qsizetype ports)
{
    return QStringLiteral("NO SWITCH PANEL ANSWERED ON %1 %2")
        .arg(ports)
        .arg(ports == 1 ? QStringLiteral("PORT") : QStringLiteral("PORTS"));
}

} // namespace kdr::StatusTexts
