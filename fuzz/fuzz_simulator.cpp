// libFuzzer target: a raw MIDI byte stream into the virtual synthesizer.
#include "fuzzbodies.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!fuzzbody::simulator(data, size))
        std::abort();
    return 0;
}
