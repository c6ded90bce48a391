// SPDX-License-Identifier: GPL-3.0-or-later
// kdr-panel: read, program and check switch panels from a terminal, many at once.
#include "cli/CliProgram.h"
#include "cli/CliRequest.h"

#include "InProcessPanel.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <chrono>
#include <memory>

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
    // A dropped SSH session hangs up: stop as on SIGTERM.
    ::sigaction(SIGHUP, &action, nullptr);
    // A reader that went away is a write error to report, not a silent death.
    ::signal(SIGPIPE, SIG_IGN);
}

} // namespace
#endif

#ifdef Q_OS_WIN
#include <windows.h>

#include <csignal>

namespace {

kdr::cli::CliProgram *stoppable = nullptr;
HANDLE portsClosed = nullptr;
// Windows ends a process whose console was closed five seconds after the event.
constexpr std::chrono::milliseconds kLongestCloseWait{4500};

// Runs on a thread of its own that Windows starts for the event. Ctrl+C, Ctrl+Break
// and closing the console all stop as Ctrl+C does elsewhere (status 130).
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    QMetaObject::invokeMethod(
        stoppable, [] { stoppable->stop(SIGINT); }, Qt::QueuedConnection);
    // For a closed console Windows ends the process as soon as this returns (and at
    // the latest after five seconds): first let every port stop and close.
    if (event == CTRL_CLOSE_EVENT)
        ::WaitForSingleObject(portsClosed, DWORD(kLongestCloseWait.count()));
    return TRUE;
}

void stopOnSignals(kdr::cli::CliProgram &program)
{
    stoppable = &program;
    portsClosed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void signalPortsClosed()
{
    if (portsClosed)
        ::SetEvent(portsClosed);
}

} // namespace
#endif

int main(int argc, char *argv[])
{
    int exitStatus = 0;
    auto request = kdr::cli::parseArguments(argc, argv, exitStatus);
    if (!request)
        return exitStatus;

    // The trace belongs on standard error, redirected or not: Qt on Windows would
    // send it to the debugger instead when it finds no console window.
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
    // A configuration sheet needs fonts, which a console program has only with a GUI
    // application. Elsewhere one without a display, so that it draws over SSH too;
    // Windows' own platform always has its system's fonts, and no display to lack.
    std::unique_ptr<QCoreApplication> application;
    if (request->draws()) {
#ifndef Q_OS_WIN
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kdr-panel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    std::unique_ptr<kdr::sim::InProcessPanel> simulated;
    if (request->simulatedPanel) {
        simulated = std::make_unique<kdr::sim::InProcessPanel>();
        simulated->panel().storeSampleConfiguration();
    }
    kdr::cli::CliProgram program(std::move(*request));
    if (simulated)
        program.useInProcessLine(simulated->line());
    stopOnSignals(program);
    program.start();
    const int status = QCoreApplication::exec();
#ifdef Q_OS_WIN
    signalPortsClosed();
#endif
    return status;
}
