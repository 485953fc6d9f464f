#include "cli/tracing_link.h"

#include "model/hex_codec.h"

namespace sg::cli {

TracingLink::TracingLink(std::unique_ptr<protocol::SerialLink> link, Clock::time_point start,
                         std::function<void(const std::string &)> print)
    : m_link(std::move(link)), m_start(start), m_print(std::move(print))
{
}

void TracingLink::setListener(protocol::SerialLinkListener *listener)
{
    m_link->setListener(listener);
}

bool TracingLink::isOpen() const
{
    return m_link->isOpen();
}

bool TracingLink::open(const std::string &device)
{
    m_device = device;
    const bool opened = m_link->open(device);
    trace(opened ? "opened" : "not opened", {});
    return opened;
}

bool TracingLink::send(const model::ByteString &bytes)
{
    const bool sent = m_link->send(bytes);
    trace(sent ? "sent" : "not sent", bytes);
    return sent;
}

model::ByteString TracingLink::takeInput()
{
    model::ByteString bytes = m_link->takeInput();
    if (!bytes.empty())
        trace("received", bytes);
    return bytes;
}

void TracingLink::close()
{
    if (m_link->isOpen())
        trace("closed", {});
    m_link->close();
}

std::string TracingLink::lastError() const
{
    return m_link->lastError();
}

void TracingLink::trace(const char *what, const model::ByteString &bytes) const
{
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count();
    m_print("sgsetup-cli: " + std::to_string(ms) + " ms " + m_device + ' ' + what +
            (bytes.empty() ? "" : ' ' + model::HexText(bytes, " ")) + '\n');
}

} // namespace sg::cli
