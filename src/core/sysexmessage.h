#pragma once
// Roland System Exclusive framing for the JV/XP family: building the data set
// (DT1) and data request (RQ1) messages, the checksum, and checking that a
// received message really is one of ours. Pure functions, no state, so the
// protocol, the simulator, .syx files and the command-line tool all share one
// definition.

#include "core/addressmap.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

namespace sysex {

constexpr std::uint8_t Start = 0xF0;
constexpr std::uint8_t End = 0xF7;
constexpr std::uint8_t RolandId = 0x41;
constexpr std::uint8_t ModelId = 0x6A;
constexpr std::uint8_t CommandRequest = 0x11;  // RQ1
constexpr std::uint8_t CommandDataSet = 0x12;  // DT1
constexpr std::uint8_t BroadcastDevice = 0x7F; // every unit answers to it
constexpr std::uint8_t DataMask = 0x7F;

// Byte positions inside a message.
constexpr int MakerPos = 1;
constexpr int DevicePos = 2;
constexpr int ModelPos = 3;
constexpr int CommandPos = 4;
constexpr int AddressPos = 5;
constexpr int DataPos = 9;

// One message buffer; a DT1 adds 11 framing bytes to its data.
constexpr int BufferSize = 146;
constexpr int Overhead = 11;
constexpr int MaxDataCount = BufferSize - Overhead; // 135
constexpr int RequestLength = 15;

using Buffer = std::array<std::uint8_t, BufferSize>;
using Request = std::array<std::uint8_t, RequestLength>;

// Roland checksum over the bytes that follow the command byte: the value that
// brings their sum to a multiple of 128 (0, never 128).
std::uint8_t checksum(const std::uint8_t *bytes, int count);

// Builds a DT1 into out and returns its length (count + 11). Returns 0 and
// leaves out untouched when the message cannot be built: count outside
// 0..135, or an address or data byte above 7Fh.
int buildDataSet(Buffer &out, std::uint8_t device, const addr::Address &adrs,
                 const std::uint8_t *data, int count);

// The 15-byte RQ1. Address and size bytes are masked to 7 bits.
Request buildRequest(std::uint8_t device, const addr::Address &adrs, const addr::Size &size);

// Conveniences for callers that want an owning byte array (empty on refusal).
QByteArray dataSetMessage(std::uint8_t device, const addr::Address &adrs, const QByteArray &data);
QByteArray requestMessage(std::uint8_t device, const addr::Address &adrs, const addr::Size &size);

// Checks that bytes[0..length) is a complete, well-formed Roland message for
// this model with the given command, addressed to device (or to the broadcast
// device), with a correct checksum. Returns an empty string when it is, or the
// reason it is not, as a short text for the log and the command-line tool.
QString verify(const std::uint8_t *bytes, int length, std::uint8_t device, std::uint8_t command);

// Cuts a byte stream (a .syx file) into messages, each from F0 to the next
// F7. Bytes outside a message, and a message cut short by another F0 or by the
// end, come out as pieces of their own, so nothing is dropped unseen.
QList<QByteArray> splitMessages(const QByteArray &stream);

// Address bytes 5..8 of a message at least 9 bytes long.
addr::Address addressOf(const std::uint8_t *bytes);

// A value as (at least) two upper-case hex digits ("0C").
QString hexByte(int value);

// Upper-case hex bytes separated by single blanks ("F0 41 10").
QString hexLine(const std::uint8_t *bytes, int length);

} // namespace sysex
