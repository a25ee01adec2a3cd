#pragma once

#include <windows.h>

namespace tellurix::platform::win32 {

// Messages handled by the presentation's parts of the toolkit. Each returns
// true when it answered the message and then leaves the result in `answer`.
bool handleExtensionMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);

// Colour hook of the site label and the search field (colours.cpp).
bool handleColourMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);
// Owner-drawn tray menu and re-adding the tray icon (tray.cpp).
bool handleTrayMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);
// A finished HTTP request, reported by its worker thread (http.cpp).
bool handleHttpMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);

}  // namespace tellurix::platform::win32
