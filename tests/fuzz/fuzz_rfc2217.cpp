// Arbitrary server bytes cut in arbitrary pieces: the device's bytes the session keeps are
// what a decoder of the whole stream at once finds, up to the point where the session
// fails, and the session fails exactly when a subnegotiation outgrows its bound.

#include "fuzz_check.h"
#include "remote/rfc2217_session.h"

#include <algorithm>
#include <cstdint>

using sg::model::ByteString;
using sg::remote::Rfc2217Session;

namespace {

constexpr std::uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, CR = 13;

// RFC 854 over the whole stream: commands and subnegotiations out, IAC IAC as one 0xFF,
// and a CR NUL as CR once the server has said it sends text (WONT BINARY).
struct Decoded
{
    ByteString data;
    std::size_t longestSub = 0;
};

Decoded Decode(const ByteString &stream)
{
    Decoded decoded;
    bool text = false;
    bool afterCr = false; // the last data byte was a CR sent as text
    const auto keep = [&](std::uint8_t byte) {
        if (!(afterCr && byte == 0))
            decoded.data.push_back(byte);
        afterCr = text && byte == CR;
    };
    for (std::size_t i = 0; i < stream.size(); ++i) {
        if (stream[i] != IAC) {
            keep(stream[i]);
            continue;
        }
        if (++i == stream.size())
            break;
        const std::uint8_t command = stream[i];
        if (command == IAC) {
            keep(IAC);
        } else if (command >= WILL) {
            if (i + 1 < stream.size() && stream[i + 1] == 0 && command <= WONT)
                text = command == WONT;
            ++i;
        } else if (command == SB) {
            std::size_t length = 0;
            while (++i < stream.size()) {
                if (stream[i] != IAC) {
                    ++length;
                } else if (++i == stream.size() || stream[i] == SE) {
                    break;
                } else if (stream[i] == IAC) {
                    ++length; // IAC IAC is one byte of the subnegotiation
                }
            }
            decoded.longestSub = std::max(decoded.longestSub, length);
        }
    }
    return decoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Rfc2217Session session("fuzz");
    ByteString stream;
    ByteString kept;
    ByteString reply;
    // Each piece: one byte saying how long it is, then that many bytes of the stream.
    for (std::size_t at = 0; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        const ByteString piece(data + at + 1, data + at + 1 + length);
        session.receive(piece, kept, reply);
        stream.insert(stream.end(), piece.begin(), piece.end());
        at += 1 + length;
    }
    const Decoded decoded = Decode(stream);
    FUZZ_CHECK(kept.size() <= decoded.data.size());
    FUZZ_CHECK(std::equal(kept.begin(), kept.end(), decoded.data.begin()));
    if (session.failure().empty())
        FUZZ_CHECK(kept == decoded.data);
    if (decoded.longestSub > Rfc2217Session::MOST_SUB_BYTES)
        FUZZ_CHECK(!session.failure().empty());
    return 0;
}
