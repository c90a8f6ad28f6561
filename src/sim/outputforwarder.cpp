#include "sim/outputforwarder.h"

namespace {
constexpr std::uint32_t ByteMask = 0xFF;
constexpr int Data1Shift = 8;
constexpr int Data2Shift = 16;
} // namespace

void OutputForwarder::receiveShort(std::uint32_t packed, std::uint32_t) noexcept
{
    try {
        out_.sendShort(std::uint8_t(packed & ByteMask),
                       std::uint8_t((packed >> Data1Shift) & ByteMask),
                       std::uint8_t((packed >> Data2Shift) & ByteMask));
    } catch (...) {
        // A failing port loses the message, as a pulled cable would.
    }
}

void OutputForwarder::receiveSysex(const std::uint8_t *bytes, std::size_t length,
                                   std::uint32_t) noexcept
{
    try {
        out_.sendLong(bytes, length);
    } catch (...) {
        // A failing port loses the message, as a pulled cable would.
    }
}
