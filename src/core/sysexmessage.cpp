#include "core/sysexmessage.h"

#include <algorithm>

namespace sysex {

namespace {
constexpr int ChecksumModulus = 128;
constexpr int ChecksumFromEnd = 2; // checksum, then F7

bool sevenBit(const std::uint8_t *bytes, int count)
{
    return std::all_of(bytes, bytes + count, [](std::uint8_t b) { return b <= DataMask; });
}
} // namespace

std::uint8_t checksum(const std::uint8_t *bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return std::uint8_t((ChecksumModulus - sum % ChecksumModulus) % ChecksumModulus);
}

int buildDataSet(Buffer &out, std::uint8_t device, const addr::Address &adrs,
                 const std::uint8_t *data, int count)
{
    if (count < 0 || count > MaxDataCount || (count > 0 && !data))
        return 0;
    if (device > DataMask || !sevenBit(adrs.data(), int(adrs.size())) || !sevenBit(data, count))
        return 0;
    out[0] = Start;
    out[MakerPos] = RolandId;
    out[DevicePos] = device;
    out[ModelPos] = ModelId;
    out[CommandPos] = CommandDataSet;
    std::copy(adrs.begin(), adrs.end(), out.begin() + AddressPos);
    std::copy(data, data + count, out.begin() + DataPos);
    out[std::size_t(DataPos + count)] = checksum(out.data() + AddressPos, int(adrs.size()) + count);
    out[std::size_t(DataPos + count + 1)] = End;
    return count + Overhead;
}

Request buildRequest(std::uint8_t device, const addr::Address &adrs, const addr::Size &size)
{
    Request out{Start, RolandId, std::uint8_t(device & DataMask), ModelId, CommandRequest};
    for (std::size_t i = 0; i < adrs.size(); ++i) {
        out[AddressPos + i] = adrs[i] & DataMask;
        out[DataPos + i] = size[i] & DataMask;
    }
    const int summed = int(adrs.size() + size.size());
    out[std::size_t(AddressPos + summed)] = checksum(out.data() + AddressPos, summed);
    out[RequestLength - 1] = End;
    return out;
}

QByteArray dataSetMessage(std::uint8_t device, const addr::Address &adrs, const QByteArray &data)
{
    Buffer buf;
    const int len =
        buildDataSet(buf, device, adrs, reinterpret_cast<const std::uint8_t *>(data.constData()),
                     int(data.size()));
    return QByteArray(reinterpret_cast<const char *>(buf.data()), len);
}

QByteArray requestMessage(std::uint8_t device, const addr::Address &adrs, const addr::Size &size)
{
    const Request r = buildRequest(device, adrs, size);
    return QByteArray(reinterpret_cast<const char *>(r.data()), RequestLength);
}

QString verify(const std::uint8_t *bytes, int length, std::uint8_t device, std::uint8_t command)
{
    if (length > BufferSize)
        return QStringLiteral("message of %1 bytes is longer than %2").arg(length).arg(BufferSize);
    if (length < 2 || bytes[0] != Start || bytes[length - 1] != End)
        return QStringLiteral("not a complete System Exclusive message");
    if (!sevenBit(bytes + 1, length - 2))
        return QStringLiteral("status byte inside the message");
    const int minimum = command == CommandRequest ? RequestLength : Overhead;
    if (length < minimum || (command == CommandRequest && length != RequestLength))
        return QStringLiteral("wrong length %1 for a Roland message").arg(length);
    if (bytes[MakerPos] != RolandId)
        return QStringLiteral("not a Roland message (maker %1)").arg(hexByte(bytes[MakerPos]));
    if (bytes[ModelPos] != ModelId)
        return QStringLiteral("model %1 is not this synthesizer").arg(hexByte(bytes[ModelPos]));
    if (bytes[DevicePos] != device && bytes[DevicePos] != BroadcastDevice)
        return QStringLiteral("device %1 is not this unit (%2)")
            .arg(hexByte(bytes[DevicePos]), hexByte(device));
    if (bytes[CommandPos] != command)
        return QStringLiteral("command %1 where %2 was expected")
            .arg(hexByte(bytes[CommandPos]), hexByte(command));
    const std::uint8_t expected =
        checksum(bytes + AddressPos, length - AddressPos - ChecksumFromEnd);
    const std::uint8_t got = bytes[length - ChecksumFromEnd];
    if (got != expected)
        return QStringLiteral("checksum %1 wrong, expected %2")
            .arg(hexByte(got), hexByte(expected));
    return {};
}

QString hexByte(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QList<QByteArray> splitMessages(const QByteArray &stream)
{
    QList<QByteArray> pieces;
    QByteArray current;
    for (const char c : stream) {
        const auto b = std::uint8_t(c);
        if (b == Start && !current.isEmpty()) {
            pieces.append(current);
            current.clear();
        }
        current.append(c);
        if (b == End) {
            pieces.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        pieces.append(current);
    return pieces;
}

addr::Address addressOf(const std::uint8_t *bytes)
{
    return addr::Address{bytes[AddressPos], bytes[AddressPos + 1], bytes[AddressPos + 2],
                         bytes[AddressPos + 3]};
}

QString hexLine(const std::uint8_t *bytes, int length)
{
    QString s;
    s.reserve(length * 3);
    for (int i = 0; i < length; ++i) {
        if (i)
            s += QLatin1Char(' ');
        s += hexByte(bytes[i]);
    }
    return s;
}

} // namespace sysex
