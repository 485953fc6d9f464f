// sgsetup for Windows: the same window and transfers, on Win32 alone.

#include "app/win32_window_app.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    sg::win32::MessageLoop loop;
    sg::app::Win32WindowApp sgsetup(loop);
    sgsetup.show();
    return loop.run();
}
