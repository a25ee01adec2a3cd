#pragma once

// Numbers of the controls, menu items and the font; they are what events carry.
namespace tellurix {

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

inline constexpr int kDesignBack = 201;
inline constexpr int kDesignForward = 202;
inline constexpr int kDesignPreview = 203;
inline constexpr int kDesignActivate = 204;
inline constexpr int kDesignCancel = 205;

inline constexpr int kMenuReturn = 1;
inline constexpr int kMenuShow = 2;
inline constexpr int kMenuHide = 3;
inline constexpr int kMenuQuit = 4;

inline constexpr int kTrayIcon = 1;
inline constexpr int kSearchFieldFont = 1;

inline constexpr int kMainClientWidth = 530;
inline constexpr int kMainClientHeight = 40;

}  // namespace tellurix
