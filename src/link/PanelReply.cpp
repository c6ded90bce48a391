#include "PanelReply.h"

namespace kdr {

ReplyValue ConvertReply(const QByteArray &reply)
{
    return toCode(roundHalfEven(leadingDecimal(reply) / 10.0));
}

} // namespace kdr
