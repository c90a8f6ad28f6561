#include "sim/sysexstream.h"

#include <cstdint>

namespace {
constexpr std::uint8_t Start = 0xF0;
constexpr std::uint8_t End = 0xF7;
constexpr std::uint8_t FirstRealTime = 0xF8;
constexpr std::uint8_t FirstStatus = 0x80;
} // namespace

QList<QByteArray> SysexStream::feed(const char *bytes, qsizetype length)
{
    QList<QByteArray> done;
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = std::uint8_t(bytes[i]);
        if (b >= FirstRealTime)
            continue;
        if (b == Start) {
            if (inside_)
                ++dropped_;
            current_ = QByteArray(1, char(b));
            inside_ = true;
            continue;
        }
        if (!inside_)
            continue;
        if ((b >= FirstStatus && b != End) || current_.size() >= limit_) {
            ++dropped_;
            inside_ = false;
            continue;
        }
        current_.append(char(b));
        if (b == End) {
            done.append(current_);
            inside_ = false;
        }
    }
    return done;
}
