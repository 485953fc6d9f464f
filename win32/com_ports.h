#pragma once

#include "protocol/port_catalog.h"

#include <string>

namespace sg::win32 {

// Number N is COMN, whether or not it exists now: the system says which do when one opens.
class ComPortLister : public protocol::PortLister
{
public:
    protocol::PortCatalog catalog() const override;
};

// One "COMn  \\.\COMn  friendly name" line per port the system lists now, for the COM
// box's tooltip.
std::wstring ExistingPortsText();

} // namespace sg::win32
