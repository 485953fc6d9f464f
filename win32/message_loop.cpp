#include "win32/message_loop.h"

#include <algorithm>

namespace sg::win32 {

bool MessageLoop::watch(HANDLE event, std::function<void()> onSignalled)
{
    if (m_events.size() >= MAX_WATCHED)
        return false;
    m_events.push_back(event);
    m_handlers.push_back(std::move(onSignalled));
    return true;
}

void MessageLoop::unwatch(HANDLE event)
{
    const auto found = std::find(m_events.begin(), m_events.end(), event);
    if (found == m_events.end())
        return;
    m_handlers.erase(m_handlers.begin() + (found - m_events.begin()));
    m_events.erase(found);
}

void MessageLoop::defer(const void *owner, std::function<void()> call)
{
    m_deferred.emplace_back(owner, std::move(call));
}

void MessageLoop::forget(const void *owner)
{
    std::erase_if(m_deferred, [owner](const auto &call) { return call.first == owner; });
}

void MessageLoop::addDialog(HWND window)
{
    m_dialogs.push_back(window);
}

void MessageLoop::removeDialog(HWND window)
{
    std::erase(m_dialogs, window);
}

int MessageLoop::run()
{
    int exitCode = 0;
    for (;;) {
        runDeferred();
        const auto count = static_cast<DWORD>(m_events.size());
        DWORD woken = MsgWaitForMultipleObjectsEx(count, m_events.data(), INFINITE, QS_ALLINPUT,
                                                  MWMO_INPUTAVAILABLE | MWMO_ALERTABLE);
        if (woken == WAIT_IO_COMPLETION) {
            // Routines may keep coming (a driver that ends every read at once): what else
            // is ready has its turn after each batch of them.
            woken = MsgWaitForMultipleObjectsEx(count, m_events.data(), 0, QS_ALLINPUT,
                                                MWMO_INPUTAVAILABLE);
            if (woken == WAIT_TIMEOUT)
                continue;
        }
        if (woken == WAIT_FAILED) {
            // Waiting again on what failed would spin: a handle closed under the loop goes.
            if (!dropFailedHandles())
                return -1;
            continue;
        }
        if (woken < WAIT_OBJECT_0 + count) {
            // A copy: the handler may unwatch its own event.
            const std::function<void()> handler = m_handlers[woken - WAIT_OBJECT_0];
            handler();
            continue;
        }
        if (!dispatchMessages(exitCode))
            return exitCode;
    }
}

void MessageLoop::runDeferred()
{
    while (!m_deferred.empty()) {
        const std::function<void()> call = std::move(m_deferred.front().second);
        m_deferred.pop_front();
        call();
    }
}

bool MessageLoop::dropFailedHandles()
{
    const auto failed = [](HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_FAILED; };
    const auto first = std::find_if(m_events.begin(), m_events.end(), failed);
    if (first == m_events.end())
        return false;
    m_handlers.erase(m_handlers.begin() + (first - m_events.begin()));
    m_events.erase(first);
    return true;
}

bool MessageLoop::dispatchMessages(int &exitCode)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode = static_cast<int>(message.wParam);
            return false;
        }
        if (isDialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

bool MessageLoop::isDialogMessage(MSG &message) const
{
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return root && std::find(m_dialogs.begin(), m_dialogs.end(), root) != m_dialogs.end() &&
           IsDialogMessageW(root, &message);
}

void LoopNotice::post()
{
    if (std::exchange(m_posted, true))
        return;
    m_loop.defer(this, [this] {
        m_posted = false;
        m_tell();
    });
}

void LoopNotice::cancel()
{
    m_loop.forget(this);
    m_posted = false;
}

} // namespace sg::win32
