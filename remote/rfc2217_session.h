#pragma once

#include "model/byte_string.h"

#include <cstdint>
#include <string>

namespace sg::remote {

// The client's half of Telnet with the COM port option, as bytes in and bytes out: it
// asks the server for 9600 baud 8N1 without flow control, keeps the device's bytes apart
// from the Telnet commands, and tells when the server has confirmed the line.
class Rfc2217Session
{
public:
    // What the client says first: the options it offers and asks for.
    model::ByteString greeting();
    // Takes what the server sent, in any pieces: the device's bytes go to data, what the
    // client must answer to reply.
    void receive(const model::ByteString &bytes, model::ByteString &data, model::ByteString &reply);

    bool heardFromServer() const { return m_heard; }
    // Baud rate, data size, parity and stop bits all confirmed as asked.
    bool lineConfirmed() const { return m_confirmed == ALL_CONFIRMED; }
    // Why the line cannot be used as asked, e.g. "the server set 19200 baud, not 9600";
    // empty while nothing is wrong.
    const std::string &failure() const { return m_failure; }

    // The device's bytes as they go on the wire: 0xFF doubled.
    static model::ByteString Escape(const model::ByteString &data);

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

    void option(std::uint8_t verb, std::uint8_t code, model::ByteString &reply);
    void subnegotiation();
    void confirm(unsigned bit, bool asAsked, const std::string &whatWasSet);
    void askForLine(model::ByteString &reply);

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
    unsigned m_confirmed = 0;
    std::string m_failure;
};

} // namespace sg::remote
