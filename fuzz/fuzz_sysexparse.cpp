// libFuzzer target: the editor's parse of one received System Exclusive message.
#include "fuzzbodies.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!fuzzbody::sysexParse(data, size))
        std::abort();
    return 0;
}
