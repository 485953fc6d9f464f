#pragma once

#include "protocol/serial_link.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace sg::cli {

// A link that tells of every frame it sends and every chunk it hands on, with the time
// since start and the port's name, so that a person can see what the line did.
class TracingLink : public protocol::SerialLink
{
public:
    using Clock = std::chrono::steady_clock;

    TracingLink(std::unique_ptr<protocol::SerialLink> link, Clock::time_point start,
                std::function<void(const std::string &line)> print);

    void setListener(protocol::SerialLinkListener *listener) override;
    bool isOpen() const override;
    bool isReady() const override { return m_link->isReady(); }
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override;
    bool portMissing() const override { return m_link->portMissing(); }

private:
    void trace(const char *what, const model::ByteString &bytes) const;

    std::unique_ptr<protocol::SerialLink> m_link;
    Clock::time_point m_start;
    std::function<void(const std::string &)> m_print;
    std::string m_device;
};

} // namespace sg::cli
