#pragma once

#include <functional>

namespace sg::transfer {

// The one thread's loop, as a program that runs transfers without a window needs it.
class EventLoop
{
public:
    virtual ~EventLoop() = default;

    // Until stop() or the user's interrupt; false when it was the interrupt (Ctrl+C).
    virtual bool run() = 0;
    virtual void stop() = 0;
    // call runs once from the loop, after at least ms; 0 means as soon as the loop is back.
    virtual void tickOnce(int ms, std::function<void()> call) = 0;
};

} // namespace sg::transfer
