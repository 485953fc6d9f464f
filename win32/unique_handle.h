#pragma once

#include <windows.h>

#include <utility>

namespace sg::win32 {

// Owns a kernel handle; closes it once.
class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle &&other) noexcept : m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = nullptr)
    {
        if (valid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};

// Owns a GDI object (font, pen, brush, bitmap); deletes it once.
template <typename Object> class GdiObject
{
public:
    GdiObject() = default;
    explicit GdiObject(Object object) : m_object(object) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject &&other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GdiObject &operator=(GdiObject &&other) noexcept
    {
        reset(std::exchange(other.m_object, nullptr));
        return *this;
    }

    Object get() const { return m_object; }
    void reset(Object object = nullptr)
    {
        if (m_object)
            DeleteObject(m_object);
        m_object = object;
    }

private:
    Object m_object = nullptr;
};

// Selects an object into a device context for one scope.
class Selected
{
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(m_dc, m_previous); }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDc
{
public:
    explicit PaintDc(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    ~PaintDc() { EndPaint(m_window, &m_paint); }
    PaintDc(const PaintDc &) = delete;
    PaintDc &operator=(const PaintDc &) = delete;

    HDC get() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// A window's (or, for null, the screen's) device context for one scope.
class WindowDc
{
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;

    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

} // namespace sg::win32
