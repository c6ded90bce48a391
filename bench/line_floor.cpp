// SPDX-License-Identifier: GPL-3.0-or-later
// What the system alone costs the panel's pacing, without Qt and without the tool:
// how late a 100 ms timer comes, and how long a read command takes from its write
// until the fifth byte of its reply is in, on a serial line to a panel (panel-sim).
// On Windows it does what Qt does there: a multimedia timer (timeSetEvent, 1 ms
// resolution), and an overlapped port with a comm-event wait for received bytes;
// elsewhere a poll() timeout, and write/poll/read.
//   line-floor PORT [ROUNDS]     e.g. line-floor COM5 under Wine, line-floor /dev/pts/3
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

const char kRead[6] = {'V', 0, 0, '0', '0', 'V'};

#ifdef _WIN32
void CALLBACK timerFired(UINT, UINT, DWORD_PTR event, DWORD_PTR, DWORD_PTR)
{
    SetEvent(reinterpret_cast<HANDLE>(event));
}

double timerLateness()
{
    HANDLE fired = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto start = Clock::now();
    const MMRESULT id =
        timeSetEvent(100, 1, timerFired, reinterpret_cast<DWORD_PTR>(fired), TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
    WaitForSingleObject(fired, INFINITE);
    const double ms = msSince(start) - 100;
    timeKillEvent(id);
    CloseHandle(fired);
    return ms;
}

struct Line {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED io{};

    bool open(const char *name)
    {
        const std::string path = std::string("\\\\.\\") + name;
        handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        GetCommState(handle, &dcb);
        dcb.BaudRate = 9600, dcb.ByteSize = 8, dcb.Parity = NOPARITY, dcb.StopBits = ONESTOPBIT, dcb.fBinary = TRUE;
        SetCommState(handle, &dcb);
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        SetCommTimeouts(handle, &timeouts);
        SetCommMask(handle, EV_RXCHAR);
        io.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return true;
    }
    // Waits for one overlapped call to end.
    DWORD finish(BOOL started)
    {
        DWORD n = 0;
        if (!started && GetLastError() != ERROR_IO_PENDING)
            return 0;
        GetOverlappedResult(handle, &io, &n, TRUE);
        return n;
    }
    void send(const char *bytes, DWORD size) { finish(WriteFile(handle, bytes, size, nullptr, &io)); }
    // A comm event, then what the read takes.
    int receive(char *buffer, int size)
    {
        DWORD mask = 0;
        finish(WaitCommEvent(handle, &mask, &io));
        return int(finish(ReadFile(handle, buffer, DWORD(size), nullptr, &io)));
    }
};
#else
double timerLateness()
{
    const auto start = Clock::now();
    poll(nullptr, 0, 100);
    return msSince(start) - 100;
}

struct Line {
    int fd = -1;

    bool open(const char *name)
    {
        fd = ::open(name, O_RDWR | O_NOCTTY);
        if (fd < 0)
            return false;
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B9600);
        tcsetattr(fd, TCSANOW, &t);
        return true;
    }
    void send(const char *bytes, size_t size) { [[maybe_unused]] const ssize_t n = ::write(fd, bytes, size); }
    int receive(char *buffer, int size)
    {
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 1000);
        return int(::read(fd, buffer, size_t(size)));
    }
};
#endif

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: line-floor PORT [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(5, std::atoi(argv[2])) : 20;
    std::vector<double> lateness, roundTrips;
    for (int i = 0; i < rounds; ++i)
        lateness.push_back(timerLateness());

    Line line;
    if (!line.open(argv[1])) {
        std::fprintf(stderr, "line-floor: cannot open %s\n", argv[1]);
        return 1;
    }
    for (int i = 0; i < rounds; ++i) {
        char reply[64];
        int got = 0;
        const auto start = Clock::now();
        line.send(kRead, sizeof kRead);
        while (got < 5) {
            const int n = line.receive(reply + got, int(sizeof reply) - got);
            if (n <= 0)
                break;
            got += n;
        }
        roundTrips.push_back(msSince(start));
    }
    std::printf("a 100 ms timer comes %.2f ms late (median of %d); a read command's round trip to the panel "
                "takes %.2f ms (median of %d)\n",
                median(lateness), rounds, median(roundTrips), rounds);
    return 0;
}
