// SPDX-License-Identifier: GPL-3.0-or-later
#include "StorableTextValidator.h"

#include "files/KdcFormat.h"

namespace kdr {

QValidator::State StorableTextValidator::validate(QString &input, int &pos) const
{
    const QString kept = Kdc::typeablePart(input);
    if (kept.size() != input.size()) {
        pos = int(Kdc::typeablePart(input.left(pos)).size());
        input = kept;
    }
    return Acceptable;
}

} // namespace kdr
