#pragma once

#include "platform/win32/Win32.h"
#include "ui/Component.h"
#include "ui/StdControls.h"
#include "ui/win32/UiHandles.h"

// Scaling, fonts and the pictures the renderer draws itself.
namespace quillet::ui::win32 {

using namespace quillet::win32;

// Design pixels (96 DPI) to device pixels and back.
struct Scaler {
  int dpi = 96;
  int operator()(int value) const { return ::MulDiv(value, dpi, 96); }
  int Unscale(int value) const { return ::MulDiv(value, 96, dpi); }
};

// The window's DPI where the system can tell it per window, else the screen's.
int WindowDpi(HWND window);
int ScreenDpi();

// The font for a component: the system's message font, changed as the component's font says.
UniqueGdiObject CreateUiFont(const TFont& font, int dpi);
COLORREF TextColorOf(const TFont& font, COLORREF fallback);

inline constexpr COLORREF kBannerLeft = RGB(20, 58, 108);
inline constexpr COLORREF kBannerRight = RGB(46, 118, 188);
inline constexpr COLORREF kLinkColor = RGB(0, 70, 160);

// The banner band: a gradient from left to right across the whole rectangle.
void DrawBanner(HDC dc, const RECT& rect);
// A picture drawn into the rectangle (glyphs and icons keep their aspect).
void DrawPicture(HDC dc, Picture picture, const RECT& rect, int dpi);
// Tick images for state image 1 (an empty box) and 2 (a ticked box). A tree view shows state
// image n as picture n, so its list starts with a blank; a list view shows picture n - 1.
enum class TickImagesFor { TreeView, ListView };
UniqueImageList CreateTickImages(int dpi, TickImagesFor control);
// The program's icon at a size, from the resources.
HICON LoadAppIcon(int size);

}  // namespace quillet::ui::win32
