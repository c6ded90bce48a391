// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kdr {

// The three backgrounds of the status box; each value is blue × 65536 + green × 256 + red.
enum class StatusColour : int {
    Yellow = 65535, // a panel operation has started, or a write step was just verified
    Red = 255,      // the operation failed; the text says why
    Green = 65280,  // a whole panel read or write succeeded
};

// Where every operation reports. Nothing ever reads the text back.
class StatusBox {
public:
    virtual ~StatusBox() = default;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setStatusColour(StatusColour colour) = 0;
    virtual void showStatus() = 0;
    virtual void hideStatus() = 0;
};

} // namespace kdr
