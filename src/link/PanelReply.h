// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DecimalText.h"

namespace kdr {

// A read reply's code: the number at its start (blanks before it skipped; an
// optional sign and decimal fraction taken) divided by 10 and rounded half to even.
// A reply that does not start with a number reads as 0.
using ReplyValue = CodeValue;
ReplyValue ConvertReply(const QByteArray &reply);

// Whether a reply is a number and nothing else, from its first byte to its last:
// blanks, an optional sign, digits with at most one decimal point (at least one
// digit), then only blanks, carriage returns or line feeds. Anything else ("XYZZY",
// a stray "D000D", junk before the digits) would read as code 0, which is a real
// assignment, so it must count as no reading at all.
bool IsNumericReply(const QByteArray &reply);

} // namespace kdr
