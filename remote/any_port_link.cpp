#include "remote/any_port_link.h"

#include "remote/remote_address.h"

namespace sg::remote {

AnyPortLink::AnyPortLink(std::unique_ptr<protocol::SerialLink> serial,
                         std::unique_ptr<protocol::SerialLink> network)
    : m_serial(std::move(serial)), m_network(std::move(network)), m_active(m_serial.get())
{
}

void AnyPortLink::setListener(protocol::SerialLinkListener *listener)
{
    m_serial->setListener(listener);
    m_network->setListener(listener);
}

bool AnyPortLink::open(const std::string &device)
{
    m_active->close();
    m_active = IsRemoteAddress(device) ? m_network.get() : m_serial.get();
    return m_active->open(device);
}

} // namespace sg::remote
