#include "PanelReply.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace kdr {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

double leadingNumber(const QByteArray &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return sign * value;
}

} // namespace

ReplyValue ConvertReply(const QByteArray &reply)
{
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(leadingNumber(reply) / 10.0);
    std::fesetround(savedMode);

    constexpr double low = std::numeric_limits<Code>::min();
    constexpr double high = std::numeric_limits<Code>::max();
    if (rounded < low)
        return {std::numeric_limits<Code>::min(), true};
    if (rounded > high)
        return {std::numeric_limits<Code>::max(), true};
    return {Code(rounded), false};
}

} // namespace kdr
