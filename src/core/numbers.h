#pragma once

// The program's numbers: windows, controls, menu items, fonts, pictures and
// designs are all addressed by them, and events carry them.
namespace tellurix {

// --- Windows
inline constexpr int kMainWindow = 0;
inline constexpr int kPickerWindow = 1;
inline constexpr int kDesignWindow = 2;
inline constexpr int kSuggestionWindow = 3;

// --- Controls: one number space across all windows
inline constexpr int kSiteLabel = 1;
inline constexpr int kSearchField = 2;
inline constexpr int kTopmostOnButton = 3;
inline constexpr int kTopmostOffButton = 4;
inline constexpr int kDesignButton = 5;
inline constexpr int kInfoButton = 6;
inline constexpr int kQuitButton = 7;
inline constexpr int kAutostartOffButton = 8;
inline constexpr int kAutostartOnButton = 9;

inline constexpr int kPickerList = 101;

inline constexpr int kSuggestionList = 301;

inline constexpr int kDesignBack = 201;
inline constexpr int kDesignForward = 202;
inline constexpr int kDesignPreview = 203;
inline constexpr int kDesignActivate = 204;
inline constexpr int kDesignCancel = 205;

// --- Menu items: the Return shortcut and the tray menu
inline constexpr int kMenuReturn = 1;
inline constexpr int kMenuShow = 2;
inline constexpr int kMenuHide = 3;
inline constexpr int kMenuQuit = 4;

// --- Timers, and what the program posts to itself for later
inline constexpr int kSuggestionTimer = 1;
inline constexpr int kPostedListUpdate = 1;

// --- The one font, tray icon and popup menu
inline constexpr int kSearchFieldFont = 1;
inline constexpr int kTrayIcon = 1;
inline constexpr int kTrayMenu = 1;

// --- Pictures: icons 1 to 8, design backgrounds 100 to 113 and design
// previews 200 to 213. Every other number names no image.
inline constexpr int kFirstIcon = 1;
inline constexpr int kLastIcon = 8;
inline constexpr int kFirstBackground = 100;
inline constexpr int kLastBackground = 113;
inline constexpr int kFirstPreview = 200;
inline constexpr int kLastPreview = 213;
inline constexpr int kTrayImage = 8;
// The program's own icon among its resources (the globe at 16, 24, 32 and 48 px).
inline constexpr int kProgramIconResource = 1;

// --- Designs: design 1 is 200, design 14 is 213. A design's background is
// image (number - 100), its preview image (number).
inline constexpr int kFirstDesign = 200;
inline constexpr int kLastDesign = 213;

constexpr int backgroundOf(int design)
{
    return design - (kFirstPreview - kFirstBackground);
}

// --- The main window's client area
inline constexpr int kMainClientWidth = 530;
inline constexpr int kMainClientHeight = 40;

}  // namespace tellurix
