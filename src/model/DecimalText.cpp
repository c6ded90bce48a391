// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecimalText.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace kdr {

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

LeadingDecimal scanLeadingDecimal(const QByteArray &text)
{
    LeadingDecimal number;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    for (; i < text.size() && isDigit(text[i]); ++i, ++number.digits)
        number.value = number.value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        number.fraction = true;
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++number.digits, scale /= 10)
            number.value += (text[i] - '0') * scale;
    }
    number.value *= sign;
    number.end = number.digits > 0 ? i : 0;
    return number;
}

double roundHalfEven(double value)
{
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(savedMode);
    return rounded;
}

CodeValue toCode(double wholeNumber)
{
    constexpr Code low = std::numeric_limits<Code>::min();
    constexpr Code high = std::numeric_limits<Code>::max();
    if (wholeNumber < low)
        return {low, true};
    if (wholeNumber > high)
        return {high, true};
    return {Code(wholeNumber), false};
}

} // namespace kdr
