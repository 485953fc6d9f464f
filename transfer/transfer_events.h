#pragma once

#include "model/blocks.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace sg::transfer {

inline constexpr std::string_view COM_ERROR_TEXT = "ERROR! Check COM settings";
inline constexpr std::string_view NO_RESPONSE_TEXT = "ERROR! No response.";

enum class TransferEnd
{
    Ok,
    NoResponse, // "ERROR! No response."
    ComError,   // "ERROR! Check COM settings"
};

struct TransferOutcome
{
    TransferEnd end = TransferEnd::Ok;
    std::string reason;         // what the link or the check said, may be empty
    bool read = false;          // a Read, rather than a Store
    model::Blocks blocks;       // a Read's: what it read, the data cut to the device's length
    model::ByteString received; // no response: every byte that came back for the request
};

// What one transfer tells whoever started it, on the event loop.
class TransferEvents
{
public:
    virtual ~TransferEvents() = default;

    // The first tick of a Read found the device's parameter block.
    virtual void paramsRead(const model::ParamBlock &params) = 0;
    // The transfer's last step, before the ticker stops and the port closes.
    virtual void transferEnding(const TransferOutcome &outcome) = 0;
    // Told once, when everything is back to idle.
    virtual void transferEnded(const TransferOutcome &outcome) = 0;
};

} // namespace sg::transfer
