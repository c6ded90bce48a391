// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kdr::cli {

namespace {

#ifdef Q_OS_WIN
// A console takes wide text; the bytes of a file or pipe are for whoever reads them.
bool writeToConsole(Stream stream, const QByteArray &utf8, bool &written)
{
    HANDLE handle = ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !::GetConsoleMode(handle, &mode))
        return false;
    std::fflush(stream == Stream::Out ? stdout : stderr);
    const QString text = QString::fromUtf8(utf8);
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    qsizetype left = text.size();
    written = true;
    while (left > 0 && written) {
        DWORD done = 0;
        // Consoles take a limited piece at a time.
        const DWORD piece = DWORD(std::min<qsizetype>(left, 8192));
        written = ::WriteConsoleW(handle, wide, piece, &done, nullptr) && done > 0;
        wide += done;
        left -= qsizetype(done);
    }
    if (!written)
        errno = EIO;
    return true;
}
#endif

} // namespace

bool writeText(Stream stream, const QByteArray &utf8)
{
#ifdef Q_OS_WIN
    if (bool written = false; writeToConsole(stream, utf8, written))
        return written;
#endif
    FILE *file = stream == Stream::Out ? stdout : stderr;
    errno = 0;
    const bool written = std::fwrite(utf8.constData(), 1, size_t(utf8.size()), file) == size_t(utf8.size());
    return std::fflush(file) == 0 && written && !std::ferror(file);
}

namespace {

bool invisible(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Format || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph || category == QChar::Other_Surrogate;
}

QString escaped(const QString &text, bool keepBackslash)
{
    QString safe;
    safe.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        // Characters beyond the first plane (tag characters among them) come in two halves.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t c = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            if (invisible(c))
                safe += QStringLiteral("\\u{%1}").arg(uint(c), 0, 16);
            else
                safe += text.mid(i, 2);
            ++i;
        } else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || (u == '\\' && !keepBackslash)) {
            safe += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        } else if (invisible(u)) {
            safe += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            safe += QChar(u);
        }
    }
    return safe;
}

} // namespace

QString terminalSafe(const QString &text)
{
    return escaped(text, false);
}

QString terminalSafePath(const QString &text)
{
#ifdef Q_OS_WIN
    return escaped(text, true);
#else
    return escaped(text, false);
#endif
}

QString lastWriteError()
{
    return errno ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("the system gave no reason");
}

} // namespace kdr::cli
