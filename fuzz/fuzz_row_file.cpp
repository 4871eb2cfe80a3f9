// Feeds arbitrary bytes to the row-file reader and checks what it returns.

#include "properties.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    properties::abort_on_fault("row file", properties::check_row_file(bytes));
    return 0;
}
