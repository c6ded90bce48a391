// SPDX-License-Identifier: GPL-3.0-or-later
// Test side only, for the Wine processes that scripts/wine-run starts: a pseudo-terminal
// stands in for the COM port's cable, and Linux answers no modem-status query on one
// (TIOCMGET fails with ENOTTY). Wine 10 asks for the modem status while it waits for a
// comm event, and takes the failure as the end of the wait (ERROR_OPERATION_ABORTED),
// which the tool rightly reports as a lost cable. Here a pseudo-terminal whose far end
// is open answers as a serial line with a panel connected would: DSR, CTS and carrier
// up. One whose far end has gone fails as before (EIO), as an unplugged adapter does.
// Every other call goes to the C library unchanged.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

// Unix98 pseudo-terminal slaves (/dev/pts/N) have the majors 136 to 143.
static int is_pty_slave(int fd)
{
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 &&
           major(info.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...)
{
    static int (*next)(int, unsigned long, ...);
    va_list rest;
    va_start(rest, request);
    void *argument = va_arg(rest, void *);
    va_end(rest);
    if (!next)
        next = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    const int result = next(fd, request, argument);
    if (result != 0 && errno == ENOTTY && request == TIOCMGET && argument && is_pty_slave(fd)) {
        *(int *)argument = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR;
        return 0;
    }
    return result;
}
