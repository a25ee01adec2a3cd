#pragma once

#include <windows.h>

#include <utility>

namespace tellurix::platform {

// Owns one Windows handle and releases it exactly once. `Deleter` is a small
// type with `static void close(T)`; it may add `static T invalid()` when the
// API's "no handle" value is not a null value (CreateFile's INVALID_HANDLE_VALUE).
template <typename T, typename Deleter>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T value) noexcept : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    static T invalid() noexcept
    {
        if constexpr (requires { Deleter::invalid(); }) {
            return Deleter::invalid();
        } else {
            return T{};
        }
    }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != invalid(); }

    // Gives up ownership without closing.
    T release() noexcept { return std::exchange(value_, invalid()); }

    void reset(T value = invalid()) noexcept
    {
        const T old = std::exchange(value_, value);
        if (old != invalid())
            Deleter::close(old);
    }

    // For APIs that return a handle through an out parameter.
    T* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    T value_ = invalid();
};

struct FileHandleDeleter {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

// Threads, events and the like, whose "no handle" value is null.
struct KernelHandleDeleter {
    static void close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

struct GdiObjectDeleter {
    template <typename Object>
    static void close(Object object) noexcept
    {
        ::DeleteObject(object);
    }
};

struct IconDeleter {
    static void close(HICON icon) noexcept { ::DestroyIcon(icon); }
};

struct MenuDeleter {
    static void close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};

struct FindHandleDeleter {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) noexcept { ::FindClose(handle); }
};

struct WindowsHookDeleter {
    static void close(HHOOK hook) noexcept { ::UnhookWindowsHookEx(hook); }
};

struct WinEventHookDeleter {
    static void close(HWINEVENTHOOK hook) noexcept { ::UnhookWinEvent(hook); }
};

struct WindowDeleter {
    static void close(HWND window) noexcept { ::DestroyWindow(window); }
};

using UniqueFile = UniqueHandle<HANDLE, FileHandleDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueFind = UniqueHandle<HANDLE, FindHandleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueWindowsHook = UniqueHandle<HHOOK, WindowsHookDeleter>;
using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, WinEventHookDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;

}  // namespace tellurix::platform
