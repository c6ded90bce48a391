// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SwitchCodes.h"

#include <QByteArray>

namespace kdr {

// The decimal number at the start of a text, as the panel's replies and the
// configuration files write numbers: blanks (spaces, tabs) before it skipped, an
// optional sign, digits and an optional decimal fraction; whatever follows is
// ignored. A text that does not start with a number has the value 0.
struct LeadingDecimal {
    double value = 0;
    qsizetype end = 0; // where what follows the number starts
    int digits = 0;    // none: the text does not start with a number
    bool fraction = false;
};
LeadingDecimal scanLeadingDecimal(const QByteArray &text);
inline double leadingDecimal(const QByteArray &text)
{
    return scanLeadingDecimal(text).value;
}

// Rounds to the nearest integer, a value exactly halfway going to the even one
// (150.5 → 150, 151.5 → 152), whatever rounding mode the caller left set.
double roundHalfEven(double value);

// A whole number as a 16-bit code. A value beyond −32768 … 32767 is marked and
// held at the nearest end of that range instead of wrapping around.
struct CodeValue {
    Code code = 0;
    bool outside16Bit = false;
};
CodeValue toCode(double wholeNumber);

} // namespace kdr
