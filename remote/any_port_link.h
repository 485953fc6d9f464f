#pragma once

#include "protocol/serial_link.h"

#include <memory>

namespace sg::remote {

// One link for every kind of port: a network address opens the network link, anything
// else the serial one.
class AnyPortLink : public protocol::SerialLink
{
public:
    AnyPortLink(std::unique_ptr<protocol::SerialLink> serial,
                std::unique_ptr<protocol::SerialLink> network);

    void setListener(protocol::SerialLinkListener *listener) override;
    bool isOpen() const override { return m_active->isOpen(); }
    bool isReady() const override { return m_active->isReady(); }
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override { return m_active->send(bytes); }
    model::ByteString takeInput() override { return m_active->takeInput(); }
    void close() override { m_active->close(); }
    std::string lastError() const override { return m_active->lastError(); }
    bool portMissing() const override { return m_active->portMissing(); }

private:
    std::unique_ptr<protocol::SerialLink> m_serial;
    std::unique_ptr<protocol::SerialLink> m_network;
    protocol::SerialLink *m_active;
};

} // namespace sg::remote
