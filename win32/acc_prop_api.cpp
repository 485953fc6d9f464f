#include "win32/acc_prop_api.h"

namespace sg::win32 {

SystemAccProps::SystemAccProps()
{
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void **>(&m_services))))
        m_services = nullptr;
}

SystemAccProps::~SystemAccProps()
{
    if (m_services)
        m_services->Release();
}

HRESULT SystemAccProps::setHwndPropStr(HWND window, DWORD object, const MSAAPROPID &property,
                                       const wchar_t *text)
{
    return m_services ? m_services->SetHwndPropStr(window, object, CHILDID_SELF, property, text)
                      : CO_E_NOTINITIALIZED;
}

HRESULT SystemAccProps::clearHwndProps(HWND window, DWORD object, const MSAAPROPID *properties,
                                       int count)
{
    return m_services ? m_services->ClearHwndProps(window, object, CHILDID_SELF, properties, count)
                      : CO_E_NOTINITIALIZED;
}

} // namespace sg::win32
