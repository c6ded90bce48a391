// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramArguments.h"

#include <cstdio>

namespace kdr::cli {

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
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        if (arguments.last().toLocal8Bit() != QByteArray(argv[i])) {
            exitStatus = refuse(QStringLiteral("argument %1 is not valid text in this system's encoding").arg(i));
            return false;
        }
    }
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
        std::fputs(m_usage, stdout);
        exitStatus = 0;
        return false;
    }
    if (m_parser.isSet(m_version)) {
        std::printf("%s %s\n", m_program, KDR_VERSION);
        exitStatus = 0;
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

int ProgramArguments::refuse(const QString &why) const
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", m_program, qPrintable(why), m_program);
    return 2;
}

} // namespace kdr::cli
