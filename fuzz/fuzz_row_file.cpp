// Feeds arbitrary bytes to the row-file reader and checks what it returns.

#include "properties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString fault = properties::check_row_file(bytes);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "row file: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
