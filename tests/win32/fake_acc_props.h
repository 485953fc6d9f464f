#pragma once

#include "win32/acc_prop_api.h"

#include <map>
#include <string>
#include <tuple>

// The annotation service as Microsoft documents it: a text stays on its window's object until
// it is set again or cleared, and clearing what was never set succeeds. The three properties
// this program sets differ in their first field.
struct FakeAccProps : sg::win32::AccPropApi
{
    std::map<std::tuple<HWND, DWORD, unsigned long>, std::wstring> texts;

    HRESULT setHwndPropStr(HWND w, DWORD o, const MSAAPROPID &p, const wchar_t *text) override
    {
        texts[{w, o, p.Data1}] = text;
        return S_OK;
    }
    HRESULT clearHwndProps(HWND w, DWORD o, const MSAAPROPID *p, int n) override
    {
        for (int i = 0; i < n; ++i)
            texts.erase({w, o, p[i].Data1});
        return S_OK;
    }
};
