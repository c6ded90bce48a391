#pragma once

#include "model/DecimalText.h"

namespace kdr {

// A read reply's code: the number at its start (blanks before it skipped; an
// optional sign and decimal fraction taken) divided by 10 and rounded half to even.
// A reply that does not start with a number reads as 0.
using ReplyValue = CodeValue;
ReplyValue ConvertReply(const QByteArray &reply);

} // namespace kdr
