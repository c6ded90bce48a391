// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelReply.h"

namespace kdr {

ReplyValue ConvertReply(const QByteArray &reply)
{
    return toCode(roundHalfEven(leadingDecimal(reply) / 10.0));
}

bool IsNumericReply(const QByteArray &reply)
{
    const LeadingDecimal number = scanLeadingDecimal(reply);
    if (number.digits == 0)
        return false;
    for (qsizetype i = number.end; i < reply.size(); ++i)
        if (!QByteArrayView(" \t\r\n").contains(reply[i]))
            return false;
    return true;
}

} // namespace kdr
