// kdr-panel: read, program and check switch panels from a terminal, many at once.
#include "cli/CliProgram.h"
#include "cli/CliRequest.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only what is safe inside a signal handler: one write to a pipe the event loop watches.
void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void stopOnSignals(kdr::cli::CliProgram &program)
{
    if (::pipe(signalPipe) != 0)
        return;
    for (int fd : signalPipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &program);
    QObject::connect(notifier, &QSocketNotifier::activated, &program, [&program] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            program.stop(number);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace
#endif

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int exitStatus = 0;
    auto request = kdr::cli::parseArguments(arguments, exitStatus);
    if (!request)
        return exitStatus;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdr-panel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    kdr::cli::CliProgram program(std::move(*request));
#ifdef Q_OS_UNIX
    stopOnSignals(program);
#endif
    program.start();
    return app.exec();
}
