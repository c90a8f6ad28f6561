#pragma once
// Decides whether a parameter change is worth a data set. A value is skipped
// only when it equals that parameter's own current byte: the patch image for
// the edited patch, or the byte last sent to that very address for areas the
// image does not hold. Comparing with one program-wide "last value" instead
// would drop an edit whenever another control happened to send the same number.

#include "core/addressmap.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

class EditState;

class SendGuard
{
public:
    // True when value differs from the parameter's current byte, or when
    // the current byte is unknown.
    static bool changed(const EditState &state, const addr::Address &adrs, std::uint8_t value);

    // The current byte of a parameter, when the program knows it.
    static std::optional<std::uint8_t> current(const EditState &state, const addr::Address &adrs);

    // Notes bytes sent to an address the image does not hold.
    void remember(const addr::Address &adrs, const std::uint8_t *data, int count);
    std::optional<std::uint8_t> lastSent(const addr::Address &adrs) const;
    void forget() { sent_.clear(); }

private:
    std::unordered_map<int, std::uint8_t> sent_;
};
