// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramArguments.h"

#include "ConsoleText.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <shellapi.h>
#endif

namespace kdr::cli {

namespace {

// The arguments as text, or an empty list after a refusal.
QStringList argumentsOf(int argc, char *argv[], const ProgramArguments &line, int &exitStatus)
{
    QStringList arguments;
#ifdef Q_OS_WIN
    // Windows hands main() its arguments in the ANSI code page, with a best fit for
    // whatever that cannot hold ("Ｃ" becomes "C", "∕" becomes "/"): another file. The
    // wide command line is what was typed.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (LPWSTR *wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        ::LocalFree(wide);
    }
    if (arguments.isEmpty())
        exitStatus = line.refuse(QStringLiteral("the command line could not be read"));
#else
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        // As a file name it would name another file.
        if (arguments.last().toLocal8Bit() != QByteArray(argv[i])) {
            exitStatus = line.refuse(QStringLiteral("argument %1 is not valid text in this system's encoding").arg(i));
            return {};
        }
    }
#endif
    return arguments;
}

} // namespace

ProgramArguments::ProgramArguments(const char *program, const char *usage) : m_program(program), m_usage(usage)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

void ProgramArguments::addOption(const QCommandLineOption &option)
{
    m_parser.addOption(option);
    m_options << option;
}

bool ProgramArguments::parse(int argc, char *argv[], int &exitStatus)
{
    const QStringList arguments = argumentsOf(argc, argv, *this, exitStatus);
    if (arguments.isEmpty())
        return false;
    if (!m_parser.parse(arguments)) {
        if (const QStringList unknown = m_parser.unknownOptionNames(); !unknown.isEmpty()) {
            exitStatus = refuse(
                QStringLiteral("unknown option '%1%2'")
                    .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), unknown.first()));
            return false;
        }
        // The one other mistake the parser finds: a value option last, without its value.
        const QString last = arguments.last().mid(2);
        for (const QCommandLineOption &option : std::as_const(m_options)) {
            if (option.names().contains(last) && !option.valueName().isEmpty()) {
                exitStatus = refuse(QStringLiteral("--%1 needs a %2").arg(last, option.valueName()));
                return false;
            }
        }
        exitStatus = refuse(m_parser.errorText());
        return false;
    }
    // The usage comes first: `--help` anywhere answers, whatever else is there.
    if (m_parser.isSet(m_help)) {
        exitStatus = answer(QByteArray(m_usage));
        return false;
    }
    if (m_parser.isSet(m_version)) {
        exitStatus = answer(QByteArray(m_program) + ' ' + KDR_VERSION + '\n');
        return false;
    }
    for (const QCommandLineOption &option : std::as_const(m_options)) {
        const QStringList values = m_parser.values(option);
        if (!option.valueName().isEmpty() && values.contains(QString())) {
            exitStatus = refuse(QStringLiteral("--%1 needs a %2").arg(option.names().first(), option.valueName()));
            return false;
        }
    }
    return true;
}

int ProgramArguments::answer(const QByteArray &text) const
{
    if (writeText(Stream::Out, text))
        return 0;
    // Help that nobody gets (a full disk, a closed pipe) is no success.
    writeText(Stream::Err, QStringLiteral("%1: standard output: could not write: %2\n")
                               .arg(QString::fromLatin1(m_program), lastWriteError())
                               .toUtf8());
    return 6;
}

int ProgramArguments::refuse(const QString &why) const
{
    // What was given comes back escaped, as whatever else a terminal shows.
    const QString program = QString::fromLatin1(m_program);
    writeText(Stream::Err, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, terminalSafePath(why)).toUtf8());
    return 2;
}

} // namespace kdr::cli
