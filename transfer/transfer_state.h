#pragma once

#include <cstdint>

namespace sg::transfer {

// What the next tick of a transfer must do.
enum class TransferState : std::uint8_t
{
    Idle = 0,
    StoreSendParams = 1,
    ReadCheckParams = 2,
    ReadCheckData = 3,
    StoreFinish = 4,
};

} // namespace sg::transfer
