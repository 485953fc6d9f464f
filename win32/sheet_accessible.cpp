#include "win32/sheet_accessible.h"

#include <utility>

namespace sg::win32 {

namespace {

HRESULT Text(const std::wstring &text, BSTR *out)
{
    *out = SysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// No such property: the documented answer for a string an element does not have.
HRESULT None(BSTR *out)
{
    *out = nullptr;
    return S_FALSE;
}

void SetLong(VARIANT *out, long value)
{
    out->vt = VT_I4;
    out->lVal = value;
}

} // namespace

SheetAccessible::SheetAccessible(HWND window, std::wstring name, std::vector<std::wstring> lines)
    : m_window(window), m_name(std::move(name)), m_lines(std::move(lines))
{
}

HRESULT SheetAccessible::QueryInterface(REFIID id, void **object)
{
    if (!object)
        return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SheetAccessible::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG SheetAccessible::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT SheetAccessible::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT SheetAccessible::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT SheetAccessible::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT SheetAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                UINT *)
{
    return E_NOTIMPL;
}

long SheetAccessible::idOf(const VARIANT &child) const
{
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF ||
        child.lVal > static_cast<long>(m_lines.size()))
        return -1;
    return child.lVal;
}

HRESULT SheetAccessible::get_accParent(IDispatch **parent)
{
    // The window's own object, which the system makes.
    return AccessibleObjectFromWindow(m_window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void **>(parent));
}

HRESULT SheetAccessible::get_accChildCount(long *count)
{
    *count = static_cast<long>(m_lines.size());
    return S_OK;
}

HRESULT SheetAccessible::get_accChild(VARIANT child, IDispatch **element)
{
    *element = nullptr;
    // The lines are simple elements: the sheet answers for them by their ids.
    return idOf(child) > CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

HRESULT SheetAccessible::get_accName(VARIANT child, BSTR *name)
{
    const long id = idOf(child);
    if (id < 0)
        return E_INVALIDARG;
    return Text(id == CHILDID_SELF ? m_name : m_lines[static_cast<std::size_t>(id - 1)], name);
}

HRESULT SheetAccessible::get_accValue(VARIANT child, BSTR *value)
{
    return idOf(child) < 0 ? E_INVALIDARG : None(value);
}

HRESULT SheetAccessible::get_accDescription(VARIANT child, BSTR *text)
{
    return idOf(child) < 0 ? E_INVALIDARG : None(text);
}

HRESULT SheetAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    const long id = idOf(child);
    if (id < 0)
        return E_INVALIDARG;
    SetLong(role, id == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_STATICTEXT);
    return S_OK;
}

HRESULT SheetAccessible::get_accState(VARIANT child, VARIANT *state)
{
    if (idOf(child) < 0)
        return E_INVALIDARG;
    SetLong(state, STATE_SYSTEM_READONLY);
    return S_OK;
}

HRESULT SheetAccessible::get_accHelp(VARIANT child, BSTR *help)
{
    return idOf(child) < 0 ? E_INVALIDARG : None(help);
}

HRESULT SheetAccessible::get_accHelpTopic(BSTR *file, VARIANT, long *topic)
{
    *topic = 0;
    return None(file);
}

HRESULT SheetAccessible::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut)
{
    return idOf(child) < 0 ? E_INVALIDARG : None(shortcut);
}

HRESULT SheetAccessible::get_accFocus(VARIANT *child)
{
    child->vt = VT_EMPTY;
    return S_FALSE;
}

HRESULT SheetAccessible::get_accSelection(VARIANT *children)
{
    children->vt = VT_EMPTY;
    return S_FALSE;
}

HRESULT SheetAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    return idOf(child) < 0 ? E_INVALIDARG : None(action);
}

HRESULT SheetAccessible::accSelect(long, VARIANT)
{
    return DISP_E_MEMBERNOTFOUND;
}

// Every line is placed where the sheet is: the sheet is read, not pointed at.
HRESULT SheetAccessible::accLocation(long *left, long *top, long *width, long *height,
                                     VARIANT child)
{
    if (idOf(child) < 0)
        return E_INVALIDARG;
    RECT client{};
    GetClientRect(m_window, &client);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    *left = client.left;
    *top = client.top;
    *width = client.right - client.left;
    *height = client.bottom - client.top;
    return S_OK;
}

HRESULT SheetAccessible::accNavigate(long direction, VARIANT start, VARIANT *end)
{
    end->vt = VT_EMPTY;
    const long id = idOf(start);
    const long count = static_cast<long>(m_lines.size());
    long to = 0;
    if (id < 0)
        return E_INVALIDARG;
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)
        to = id == CHILDID_SELF && count > 0 ? (direction == NAVDIR_FIRSTCHILD ? 1 : count) : 0;
    else if (id != CHILDID_SELF && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN))
        to = id < count ? id + 1 : 0;
    else if (id != CHILDID_SELF && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP))
        to = id - 1;
    if (to <= 0)
        return S_FALSE;
    SetLong(end, to);
    return S_OK;
}

HRESULT SheetAccessible::accHitTest(long x, long y, VARIANT *child)
{
    RECT client{};
    GetClientRect(m_window, &client);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    if (!PtInRect(&client, POINT{x, y})) {
        child->vt = VT_EMPTY;
        return S_FALSE;
    }
    SetLong(child, CHILDID_SELF);
    return S_OK;
}

HRESULT SheetAccessible::accDoDefaultAction(VARIANT)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT SheetAccessible::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT SheetAccessible::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

} // namespace sg::win32
