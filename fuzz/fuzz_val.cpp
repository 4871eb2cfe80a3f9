// Feeds arbitrary text to Val, two characters at a time and whole.

#include "properties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString fault = properties::check_val(bytes);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "Val: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
