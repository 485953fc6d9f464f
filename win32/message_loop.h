#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace sg::win32 {

// The one thread's loop: window messages, and kernel events (finished overlapped I/O)
// waited for beside them, so nothing polls and nothing blocks the windows.
class MessageLoop
{
public:
    // One wait takes at most this many events beside the window messages.
    static constexpr std::size_t MAX_WATCHED = MAXIMUM_WAIT_OBJECTS - 1;

    // False when MAX_WATCHED events are watched already.
    bool watch(HANDLE event, std::function<void()> onSignalled);
    void unwatch(HANDLE event);
    // Tab, arrows and accelerators move between this window's controls.
    void addDialog(HWND window);
    void removeDialog(HWND window);

    // Until WM_QUIT; returns its exit code.
    int run();

private:
    bool dispatchMessages(int &exitCode);
    bool isDialogMessage(MSG &message) const;

    std::vector<HANDLE> m_events;
    std::vector<std::function<void()>> m_handlers;
    std::vector<HWND> m_dialogs;
};

} // namespace sg::win32
