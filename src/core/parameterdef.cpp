#include "core/parameterdef.h"

#include <cstring>

namespace {
constexpr int FirstNameChar = 0x20;
constexpr int LastNameChar = 0x7F;
constexpr int MaxGroupType = 2;
} // namespace

int ParameterDef::value(const std::uint8_t *block) const
{
    const std::uint8_t *b = block + offset;
    switch (kind) {
    case Kind::NibblePair:
        return (b[0] << NibbleBits) | b[1];
    case Kind::Group:
        return (b[0] << GroupIdBits) | b[1];
    case Kind::Name:
        return 0;
    default:
        return b[0];
    }
}

void ParameterDef::encode(int v, std::uint8_t *out) const
{
    switch (kind) {
    case Kind::NibblePair:
        out[0] = std::uint8_t((v >> NibbleBits) & NibbleMask);
        out[1] = std::uint8_t(v & NibbleMask);
        return;
    case Kind::Group:
        out[0] = std::uint8_t((v >> GroupIdBits) & GroupIdMask);
        out[1] = std::uint8_t(v & GroupIdMask);
        return;
    case Kind::Name:
        return;
    default:
        out[0] = std::uint8_t(v & GroupIdMask);
    }
}

bool ParameterDef::holdsValid(const std::uint8_t *block) const
{
    const std::uint8_t *b = block + offset;
    switch (kind) {
    case Kind::Name:
        for (int i = 0; i < NameSize; ++i)
            if (b[i] < FirstNameChar || b[i] > LastNameChar)
                return false;
        return true;
    case Kind::NibblePair:
        return b[0] <= NibbleMask && b[1] <= NibbleMask && value(block) >= min &&
               value(block) <= max;
    case Kind::Group:
        return b[0] <= MaxGroupType && b[1] <= GroupIdMask;
    default:
        return b[0] >= min && b[0] <= max;
    }
}

QString ParameterDef::text(int v) const
{
    switch (kind) {
    case Kind::Switch:
        return v ? QStringLiteral("ON") : QStringLiteral("OFF");
    case Kind::List:
        return ParameterTexts::text(texts, v);
    case Kind::Group:
        return QStringLiteral("%1:%2").arg(v >> GroupIdBits).arg(v & GroupIdMask);
    case Kind::Name:
        return {};
    default:
        return QString::number(v + shift);
    }
}

const ParameterDef *findParameter(ParameterTable table, const char *name)
{
    for (const ParameterDef &p : table)
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}
