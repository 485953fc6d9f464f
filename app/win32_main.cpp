// sgsetup for Windows: the same window and transfers, on Win32 alone.

#include "app/win32_window_app.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The screen reader's annotation service is a COM object.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int status = 0;
    { // the annotation service goes before COM does
        sg::win32::MessageLoop loop;
        sg::app::Win32WindowApp sgsetup(loop);
        sgsetup.show();
        status = loop.run();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
