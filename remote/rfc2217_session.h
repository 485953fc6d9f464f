#pragma once

#include "model/byte_string.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace sg::remote {

// The client's half of Telnet with the COM port option, as bytes in and bytes out: it
// asks the server for 9600 baud 8N1 without flow control, keeps the device's bytes apart
// from the Telnet commands, and tells when the server has agreed to the option and
// confirmed the line. Whatever the server sends, it holds at most one bounded
// subnegotiation.
class Rfc2217Session
{
public:
    // Longer than any RFC 2217 subnegotiation with a signature of a few hundred characters.
    static constexpr std::size_t MOST_SUB_BYTES = 1024;

    // signature: what the client answers a server that asks who it is.
    explicit Rfc2217Session(std::string signature = {});

    // What the client says first: the options it offers and asks for.
    model::ByteString greeting();
    // Takes what the server sent, in any pieces: the device's bytes go to data, what the
    // client must answer to reply.
    void receive(const model::ByteString &bytes, model::ByteString &data, model::ByteString &reply);
    // The device's bytes as they go on the wire: 0xFF doubled, and CR followed by NUL
    // while the server has not agreed to take binary data.
    model::ByteString encode(const model::ByteString &data) const;
    // Asks the server to drop what it holds from the device: sent once the line is set.
    static model::ByteString PurgeRequest();

    bool heardFromServer() const { return m_heard; }
    // The server has agreed to the COM port option, and the line has been asked for.
    bool lineAsked() const { return m_lineAsked; }
    // Baud rate, data size, parity and stop bits all confirmed as asked.
    bool lineConfirmed() const { return m_confirmed == ALL_CONFIRMED; }
    // The server asked the client to hold its data (RFC 2217 flow control).
    bool suspended() const { return m_suspended; }
    // Why the line cannot be used as asked, e.g. "the server set 19200 baud, not 9600";
    // empty while nothing is wrong.
    const std::string &failure() const { return m_failure; }

private:
    enum class State
    {
        Data,
        Command,
        Option,
        Sub,
        SubCommand
    };
    static constexpr unsigned ALL_CONFIRMED = 0b1111;

    void dataByte(std::uint8_t byte, model::ByteString &data);
    void option(std::uint8_t verb, std::uint8_t code, model::ByteString &reply);
    void subnegotiation(model::ByteString &reply);
    void subByte(std::uint8_t byte);
    void confirm(unsigned bit, bool asAsked, const std::string &whatWasSet);
    void askForLine(model::ByteString &reply);
    void failWith(const std::string &why);

    std::string m_signature;
    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    model::ByteString m_sub;
    // Per option code, what each side has agreed to and what the client has asked for.
    std::uint64_t m_ourOptions = 0;
    std::uint64_t m_theirOptions = 0;
    std::uint64_t m_offered = 0;
    std::uint64_t m_requested = 0;
    bool m_heard = false;
    bool m_lineAsked = false;
    bool m_suspended = false;
    // What the server refused to have binary: a CR then goes as CR NUL (RFC 854).
    bool m_binaryRefused = false; // from the client
    bool m_sendsText = false;     // to the client
    bool m_afterCr = false;       // the last data byte was a CR the server sent as text
    unsigned m_confirmed = 0;
    std::string m_failure;
};

} // namespace sg::remote
