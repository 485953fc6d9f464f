#pragma once

#include <windows.h>

#include <oleacc.h>

namespace sg::win32 {

// The annotation service's calls this program makes, so that tests can stand in for it; each
// behaves as its namesake in IAccPropServices, for the window's own element (CHILDID_SELF).
class AccPropApi
{
public:
    virtual ~AccPropApi() = default;

    virtual HRESULT setHwndPropStr(HWND window, DWORD object, const MSAAPROPID &property,
                                   const wchar_t *text) = 0;
    virtual HRESULT clearHwndProps(HWND window, DWORD object, const MSAAPROPID *properties,
                                   int count) = 0;
};

// The system's service, made once COM has started on this thread, and released before it
// ends; without COM every call fails.
class SystemAccProps final : public AccPropApi
{
public:
    SystemAccProps();
    ~SystemAccProps() override;
    SystemAccProps(const SystemAccProps &) = delete;
    SystemAccProps &operator=(const SystemAccProps &) = delete;

    HRESULT setHwndPropStr(HWND window, DWORD object, const MSAAPROPID &property,
                           const wchar_t *text) override;
    HRESULT clearHwndProps(HWND window, DWORD object, const MSAAPROPID *properties,
                           int count) override;

private:
    IAccPropServices *m_services = nullptr;
};

} // namespace sg::win32
