// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliRequest.h"
#include "operations/PanelJobs.h"

#include "model/SwitchCodes.h"
#include "record/RecordFile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kdr::cli {

// kdr-panel's side of the production record (--log): what each panel operation
// leaves in it. Safe to use from the ports' threads.
class RecordKeeper {
public:
    // What every entry of this run shares: the command, and the configuration file
    // with its bytes (for their SHA-256), the codes sent and the panel's name, where
    // they apply.
    RecordKeeper(const CliRequest &request, const QByteArray &fileBytes, const QString &panelName,
                 std::optional<std::array<Code, kSwitchCount>> codesSent);

    QString path() const { return m_file.path(); }
    // Why an entry could not be written now, or nothing (see RecordFile).
    QString problemAppending() const { return m_file.problemAppending(); }
    // The port's operation, as shown; empty once it is on the disk, else why not.
    QString append(const PortReport &report, const QString &status, int exitStatus);

    // read --output: the file saved, where it was.
    void setSavedFile(const QString &file, const QByteArray &bytes);

private:
    RecordFile m_file;
    QString m_command;
    QString m_configuration;
    QString m_sha256;
    QString m_panelName;
    std::optional<std::array<Code, kSwitchCount>> m_codesSent;
};

// kdr-panel log: the record as a table or as CSV; the exit status.
int showRecord(const CliRequest &request);

} // namespace kdr::cli
