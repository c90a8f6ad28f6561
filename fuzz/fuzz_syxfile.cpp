// libFuzzer target: the reader of .syx files on any bytes.
#include "fuzzbodies.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!fuzzbody::syxFile(data, size))
        std::abort();
    return 0;
}
