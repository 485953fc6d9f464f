#pragma once

#include "model/blocks.h"

#include <string>

namespace sg::transfer {

enum class TransferEnd
{
    Ok,
    NoResponse, // "ERROR! No response."
    ComError,   // "ERROR! Check COM settings"
};

struct TransferOutcome
{
    TransferEnd end = TransferEnd::Ok;
    std::string reason;         // the message's detail, may be empty
    bool read = false;          // a Read, rather than a Store
    model::Blocks blocks;       // a Read's: what it read, the data cut to the device's length
    model::ByteString received; // no response: every byte that came back for the request
};

// Told once that a transfer ended, when everything is back to idle and any message is done.
class TransferListener
{
public:
    virtual ~TransferListener() = default;

    virtual void transferEnded(const TransferOutcome &outcome) = 0;
};

} // namespace sg::transfer
