// SPDX-License-Identifier: GPL-3.0-or-later
#include "Windows1252.h"

#include <array>

namespace kdr::Windows1252 {

namespace {

// 0x80 … 0x9F; every other byte stands for the Unicode character of its own value.
// clang-format off
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

char16_t toUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t(byte);
}

std::optional<unsigned char> toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

bool canEncode(QChar c)
{
    return toByte(c.unicode()).has_value();
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = toByte(text[i].unicode());
        if (!byte)
            return std::nullopt;
        bytes[i] = char(*byte);
    }
    return bytes;
}

} // namespace kdr::Windows1252
