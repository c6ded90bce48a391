// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

namespace kdr {

// Keeps out of the name and designation boxes, typed, pasted or dropped, every
// character that a configuration file could not give back unchanged or that would
// break its one line for other readers: a double quote, control characters (tab,
// line ends and the rest below 0x20, and 0x7F), and characters with no byte in the
// file's set. A paste keeps the characters that can be stored.
class StorableTextValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace kdr
