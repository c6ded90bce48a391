// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace kdr::cli {

// What the command lines of all the programs share, on top of QCommandLineParser:
// --help (-h) prints the program's own usage text and --version its name and
// version, both on standard output with exit status 0 (6, said, when standard output
// takes nothing); a mistake is said on standard error in one line naming it, what
// was given escaped, followed by where help is, with exit status 2. On Windows the
// arguments are taken from the wide command line, as they were typed. Works before any application object exists (the window programs answer
// --help without a display).
class ProgramArguments {
public:
    ProgramArguments(const char *program, const char *usage);

    // The program's own options; positional arguments are what is left.
    void addOption(const QCommandLineOption &option);
    const QCommandLineParser &parsed() const { return m_parser; }

    // Parses main()'s arguments; false when the program is to end at once, with
    // `exitStatus` set (after --help, --version or a mistake). An argument that does
    // not survive the conversion to text is refused: as a file name it would name
    // another file. An unknown option is named; an option that needs a value and has
    // none, or an empty one, is said as "--port needs a DEVICE".
    bool parse(int argc, char *argv[], int &exitStatus);

    // Says the mistake and returns 2.
    int refuse(const QString &why) const;

private:
    // Prints an answer to --help or --version; the exit status.
    int answer(const QByteArray &text) const;

    const char *m_program;
    const char *m_usage;
    QCommandLineParser m_parser;
    QList<QCommandLineOption> m_options;
    QCommandLineOption m_help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption m_version{QStringLiteral("version")};
};

} // namespace kdr::cli
