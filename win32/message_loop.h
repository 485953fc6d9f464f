#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace sg::win32 {

// The one thread's loop: window messages, kernel events and the completion routines of
// overlapped I/O, all waited for at once, so nothing polls and nothing blocks the windows.
class MessageLoop
{
public:
    // One wait takes at most this many events beside the window messages.
    static constexpr std::size_t MAX_WATCHED = MAXIMUM_WAIT_OBJECTS - 1;

    // False when MAX_WATCHED events are watched already.
    bool watch(HANDLE event, std::function<void()> onSignalled);
    void unwatch(HANDLE event);
    // Calls once the wait that is running completion routines is over, in order.
    void defer(const void *owner, std::function<void()> call);
    // Drops what owner deferred and has not been called yet.
    void forget(const void *owner);
    // Tab, arrows and accelerators move between this window's controls.
    void addDialog(HWND window);
    void removeDialog(HWND window);

    // Until WM_QUIT; returns its exit code.
    int run();

private:
    bool dispatchMessages(int &exitCode);
    bool isDialogMessage(MSG &message) const;
    void runDeferred();
    bool dropFailedHandles();

    std::vector<HANDLE> m_events;
    std::vector<std::function<void()>> m_handlers;
    std::vector<HWND> m_dialogs;
    std::deque<std::pair<const void *, std::function<void()>>> m_deferred;
};

// One call the loop makes for any number of posts before it runs: how a link tells its
// listener from the loop, never from inside a routine that a wait ran.
class LoopNotice
{
public:
    LoopNotice(MessageLoop &loop, std::function<void()> tell)
        : m_loop(loop), m_tell(std::move(tell))
    {
    }
    ~LoopNotice() { cancel(); }
    LoopNotice(const LoopNotice &) = delete;
    LoopNotice &operator=(const LoopNotice &) = delete;

    void post();
    // Drops a post the loop has not told yet.
    void cancel();

private:
    MessageLoop &m_loop;
    std::function<void()> m_tell;
    bool m_posted = false;
};

} // namespace sg::win32
