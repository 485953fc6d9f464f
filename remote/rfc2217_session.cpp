#include "remote/rfc2217_session.h"

#include <utility>

namespace sg::remote {

namespace {

// Telnet (RFC 854) commands and options, and the COM port option's own (RFC 2217).
constexpr std::uint8_t IAC = 255;
constexpr std::uint8_t DONT = 254;
constexpr std::uint8_t DO = 253;
constexpr std::uint8_t WONT = 252;
constexpr std::uint8_t WILL = 251;
constexpr std::uint8_t SB = 250;
constexpr std::uint8_t SE = 240;

constexpr std::uint8_t BINARY = 0;
constexpr std::uint8_t SUPPRESS_GO_AHEAD = 3;
constexpr std::uint8_t COM_PORT = 44;

constexpr std::uint8_t SET_BAUDRATE = 1;
constexpr std::uint8_t SET_DATASIZE = 2;
constexpr std::uint8_t SET_PARITY = 3;
constexpr std::uint8_t SET_STOPSIZE = 4;
constexpr std::uint8_t SET_CONTROL = 5;
constexpr std::uint8_t FLOWCONTROL_SUSPEND = 8;
constexpr std::uint8_t FLOWCONTROL_RESUME = 9;
constexpr std::uint8_t PURGE_DATA = 12;
constexpr std::uint8_t SIGNATURE = 0;
// A server answers a client's command with the command's code plus this.
constexpr std::uint8_t SERVER_OFFSET = 100;

constexpr std::uint32_t BAUD = 9600;
constexpr std::uint8_t DATA_BITS = 8;
constexpr std::uint8_t PARITY_NONE = 1;
constexpr std::uint8_t ONE_STOP_BIT = 1;
constexpr std::uint8_t NO_FLOW_CONTROL = 1;
constexpr std::uint8_t PURGE_SERVER_RECEIVE = 1;

constexpr std::uint8_t CR = 0x0D;

std::uint64_t Bit(std::uint8_t code)
{
    return code < 64 ? std::uint64_t{1} << code : 0;
}

const std::uint64_t OURS_ACCEPTED = Bit(BINARY) | Bit(SUPPRESS_GO_AHEAD) | Bit(COM_PORT);
const std::uint64_t THEIRS_ACCEPTED = Bit(BINARY) | Bit(SUPPRESS_GO_AHEAD);

void Append(model::ByteString &to, std::initializer_list<std::uint8_t> bytes)
{
    for (const std::uint8_t byte : bytes)
        to.push_back(byte);
}

std::string ParityName(unsigned value)
{
    switch (value) {
    case 1:
        return "none";
    case 2:
        return "odd";
    case 3:
        return "even";
    case 4:
        return "mark";
    case 5:
        return "space";
    default:
        return std::to_string(value);
    }
}

std::string StopBitsName(unsigned value)
{
    return value == 3 ? "1.5" : std::to_string(value);
}

} // namespace

Rfc2217Session::Rfc2217Session(std::string signature) : m_signature(std::move(signature)) {}

model::ByteString Rfc2217Session::greeting()
{
    m_offered = OURS_ACCEPTED;
    m_requested = THEIRS_ACCEPTED;
    return {IAC, WILL, COM_PORT,          IAC, WILL, BINARY,           IAC, DO, BINARY,
            IAC, WILL, SUPPRESS_GO_AHEAD, IAC, DO,   SUPPRESS_GO_AHEAD};
}

void Rfc2217Session::receive(const model::ByteString &bytes, model::ByteString &data,
                             model::ByteString &reply)
{
    m_heard = m_heard || !bytes.empty();
    for (const std::uint8_t byte : bytes) {
        if (!m_failure.empty())
            return;
        switch (m_state) {
        case State::Data:
            if (byte == IAC)
                m_state = State::Command;
            else
                dataByte(byte, data);
            break;
        case State::Command:
            m_state = State::Data;
            if (byte == IAC) {
                dataByte(byte, data);
            } else if (byte >= WILL && byte <= DONT) {
                m_verb = byte;
                m_state = State::Option;
            } else if (byte == SB) {
                m_sub.clear();
                m_state = State::Sub;
            }
            break;
        case State::Option:
            option(m_verb, byte, reply);
            m_state = State::Data;
            break;
        case State::Sub:
            if (byte == IAC)
                m_state = State::SubCommand;
            else
                subByte(byte);
            break;
        case State::SubCommand:
            m_state = State::Sub;
            if (byte == IAC) {
                subByte(byte);
            } else if (byte == SE) {
                subnegotiation(reply);
                m_sub = {};
                m_state = State::Data;
            }
            break;
        }
    }
}

// A server that sends text, not binary, sends a CR as CR NUL (RFC 854).
void Rfc2217Session::dataByte(std::uint8_t byte, model::ByteString &data)
{
    if (!(std::exchange(m_afterCr, m_sendsText && byte == CR) && byte == 0))
        data.push_back(byte);
}

void Rfc2217Session::subByte(std::uint8_t byte)
{
    if (m_sub.size() == MOST_SUB_BYTES) {
        m_sub = {};
        failWith("the server sent a Telnet subnegotiation longer than " +
                 std::to_string(MOST_SUB_BYTES) + " bytes");
        return;
    }
    m_sub.push_back(byte);
}

void Rfc2217Session::option(std::uint8_t verb, std::uint8_t code, model::ByteString &reply)
{
    const std::uint64_t bit = Bit(code);
    switch (verb) {
    case DO:
        if (!(bit & OURS_ACCEPTED)) {
            Append(reply, {IAC, WONT, code});
            return;
        }
        if (!(m_ourOptions & bit) && !(m_offered & bit))
            Append(reply, {IAC, WILL, code});
        m_ourOptions |= bit;
        m_offered |= bit;
        if (code == BINARY)
            m_binaryRefused = false;
        if (code == COM_PORT)
            askForLine(reply);
        return;
    case DONT:
        if (m_ourOptions & bit)
            Append(reply, {IAC, WONT, code});
        m_ourOptions &= ~bit;
        m_offered &= ~bit;
        if (code == BINARY)
            m_binaryRefused = true;
        if (code == COM_PORT)
            failWith("the server refuses RFC 2217 (the COM port option); for a raw TCP "
                     "port, use socket://");
        return;
    case WILL:
        if (!(bit & THEIRS_ACCEPTED)) {
            Append(reply, {IAC, DONT, code});
            return;
        }
        if (!(m_theirOptions & bit) && !(m_requested & bit))
            Append(reply, {IAC, DO, code});
        m_theirOptions |= bit;
        m_requested |= bit;
        if (code == BINARY)
            m_sendsText = false;
        return;
    default: // WONT
        if (m_theirOptions & bit)
            Append(reply, {IAC, DONT, code});
        m_theirOptions &= ~bit;
        m_requested &= ~bit;
        if (code == BINARY)
            m_sendsText = true;
        return;
    }
}

// Asked once, when the server agrees to the option; SET-CONTROL is not waited for, since
// some servers never answer it.
void Rfc2217Session::askForLine(model::ByteString &reply)
{
    if (m_lineAsked)
        return;
    m_lineAsked = true;
    Append(reply, {IAC, SB, COM_PORT, SET_BAUDRATE, 0, 0, BAUD >> 8, BAUD & 0xFF, IAC, SE});
    Append(reply, {IAC, SB, COM_PORT, SET_DATASIZE, DATA_BITS, IAC, SE});
    Append(reply, {IAC, SB, COM_PORT, SET_PARITY, PARITY_NONE, IAC, SE});
    Append(reply, {IAC, SB, COM_PORT, SET_STOPSIZE, ONE_STOP_BIT, IAC, SE});
    Append(reply, {IAC, SB, COM_PORT, SET_CONTROL, NO_FLOW_CONTROL, IAC, SE});
}

void Rfc2217Session::subnegotiation(model::ByteString &reply)
{
    if (m_sub.size() < 2 || m_sub[0] != COM_PORT)
        return;
    if (m_sub[1] == SERVER_OFFSET + SIGNATURE && m_sub.size() == 2) {
        Append(reply, {IAC, SB, COM_PORT, SIGNATURE});
        const model::ByteString text = encode({m_signature.begin(), m_signature.end()});
        reply.insert(reply.end(), text.begin(), text.end());
        Append(reply, {IAC, SE});
        return;
    }
    if (m_sub[1] == SERVER_OFFSET + FLOWCONTROL_SUSPEND ||
        m_sub[1] == SERVER_OFFSET + FLOWCONTROL_RESUME) {
        m_suspended = m_sub[1] == SERVER_OFFSET + FLOWCONTROL_SUSPEND;
        return;
    }
    if (m_sub.size() < 3)
        return;
    const unsigned first = m_sub[2];
    switch (m_sub[1]) {
    case SERVER_OFFSET + SET_BAUDRATE: {
        if (m_sub.size() < 6)
            return;
        const std::uint32_t baud = std::uint32_t{m_sub[2]} << 24 | std::uint32_t{m_sub[3]} << 16 |
                                   std::uint32_t{m_sub[4]} << 8 | m_sub[5];
        confirm(0b0001, baud == BAUD, std::to_string(baud) + " baud, not 9600");
        return;
    }
    case SERVER_OFFSET + SET_DATASIZE:
        confirm(0b0010, first == DATA_BITS, std::to_string(first) + " data bits, not 8");
        return;
    case SERVER_OFFSET + SET_PARITY:
        confirm(0b0100, first == PARITY_NONE, "parity " + ParityName(first) + ", not none");
        return;
    case SERVER_OFFSET + SET_STOPSIZE:
        confirm(0b1000, first == ONE_STOP_BIT, StopBitsName(first) + " stop bits, not 1");
        return;
    default: // notifications and the server's signature: nothing the transfer needs
        return;
    }
}

void Rfc2217Session::confirm(unsigned bit, bool asAsked, const std::string &whatWasSet)
{
    if (asAsked)
        m_confirmed |= bit;
    else
        failWith("the server set " + whatWasSet);
}

void Rfc2217Session::failWith(const std::string &why)
{
    if (m_failure.empty())
        m_failure = why;
}

model::ByteString Rfc2217Session::encode(const model::ByteString &data) const
{
    model::ByteString wire;
    wire.reserve(data.size());
    for (const std::uint8_t byte : data) {
        wire.push_back(byte);
        if (byte == IAC)
            wire.push_back(IAC);
        else if (byte == CR && m_binaryRefused)
            wire.push_back(0);
    }
    return wire;
}

model::ByteString Rfc2217Session::PurgeRequest()
{
    return {IAC, SB, COM_PORT, PURGE_DATA, PURGE_SERVER_RECEIVE, IAC, SE};
}

} // namespace sg::remote
