#pragma once

#include "model/SwitchCodes.h"

#include <QByteArray>

namespace kdr {

// A read reply's numeric value divided by 10, rounded half to even.
struct ReplyValue {
    Code code = 0;
    // The value lies outside −32768 … 32767; `code` then holds the nearest end of
    // that range instead of a wrapped-around number.
    bool outside16Bit = false;
};

// The decimal number at the start of the reply (blanks before it skipped; an
// optional sign and decimal fraction taken) is the value; a reply that does not
// start with a number has the value 0.
ReplyValue ConvertReply(const QByteArray &reply);

} // namespace kdr
