#pragma once

#include <QValidator>

namespace kdr {

// Refuses, typed or pasted, any text that a configuration file could not give back
// unchanged: a double quote, or a character with no byte in the file's set.
class StorableTextValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace kdr
