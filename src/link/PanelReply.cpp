// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelReply.h"

namespace kdr {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

ReplyValue ConvertReply(const QByteArray &reply)
{
    return toCode(roundHalfEven(leadingDecimal(reply) / 10.0));
}

bool IsNumericReply(const QByteArray &reply)
{
    qsizetype i = 0;
    const qsizetype n = reply.size();
    while (i < n && isBlank(reply[i]))
        ++i;
    if (i < n && (reply[i] == '+' || reply[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        if (isDigit(reply[i]))
            ++digits;
        else if (reply[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    for (; i < n; ++i)
        if (!isBlank(reply[i]) && reply[i] != '\r' && reply[i] != '\n')
            return false;
    return true;
}

} // namespace kdr
