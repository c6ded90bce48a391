#include "PanelReply.h"

#include "model/DecimalText.h"

#include <limits>

namespace kdr {

ReplyValue ConvertReply(const QByteArray &reply)
{
    const double rounded = roundHalfEven(leadingDecimal(reply) / 10.0);

    constexpr double low = std::numeric_limits<Code>::min();
    constexpr double high = std::numeric_limits<Code>::max();
    if (rounded < low)
        return {std::numeric_limits<Code>::min(), true};
    if (rounded > high)
        return {std::numeric_limits<Code>::max(), true};
    return {Code(rounded), false};
}

} // namespace kdr
