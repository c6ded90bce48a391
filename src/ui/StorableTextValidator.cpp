#include "StorableTextValidator.h"

#include "files/KdcFormat.h"

namespace kdr {

QValidator::State StorableTextValidator::validate(QString &input, int &pos) const
{
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!Kdc::isTypeable(input[i]))
            continue;
        kept += input[i];
        if (i < pos)
            ++keptBeforeCursor;
    }
    if (kept.size() != input.size()) {
        input = kept;
        pos = keptBeforeCursor;
    }
    return Acceptable;
}

} // namespace kdr
