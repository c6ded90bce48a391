// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the configuration file reader must survive any bytes at all,
// and whatever it accepts must write back and read again to the same record.
#include "files/KdcFormat.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto record = kdr::Kdc::parse(bytes);
    if (!record)
        return 0;
    const auto line = kdr::Kdc::format(*record);
    if (!line)
        abort(); // everything read must be writable
    const auto again = kdr::Kdc::parse(*line);
    if (!again || again->panel != record->panel || again->designations != record->designations ||
        again->codes != record->codes || again->closing != record->closing)
        abort();
    return 0;
}
