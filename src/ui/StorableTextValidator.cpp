#include "StorableTextValidator.h"

#include "files/KdcFormat.h"

namespace kdr {

QValidator::State StorableTextValidator::validate(QString &input, int &) const
{
    return Kdc::isStorable(input) ? Acceptable : Invalid;
}

} // namespace kdr
