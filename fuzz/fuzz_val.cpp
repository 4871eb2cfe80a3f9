// Feeds arbitrary text to Val, two characters at a time and whole.

#include "properties.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    properties::abort_on_fault("Val", properties::check_val(bytes));
    return 0;
}
