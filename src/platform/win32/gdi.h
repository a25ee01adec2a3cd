#pragma once

#include <windows.h>

#include "platform/colour.h"

// Guards for GDI's paired calls (whatever is borrowed is given back exactly
// once, when the guard goes), and GDI's form of the program's colours.
namespace tellurix::platform::win32 {

inline COLORREF colourRef(Rgb colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

// The screen's device context (GetDC/ReleaseDC).
class ScreenDc {
public:
    ScreenDc() noexcept : dc_(::GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_)
            ::ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context, the previous one put back after.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(dc ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (dc_ && previous_)
            ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Everything a painter changes on a device context it was lent (colours,
// background mode, selected objects), restored after (SaveDC/RestoreDC).
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(dc ? ::SaveDC(dc) : 0) {}
    ~SavedDcState()
    {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace tellurix::platform::win32
