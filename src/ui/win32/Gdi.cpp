#include "ui/win32/Gdi.h"

#include <map>
#include <mutex>
#include <vector>

namespace quillet::ui::win32 {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction DpiForWindowFunction() {
  // Windows 10 and later can tell each window's DPI; older systems have one DPI for all.
  static const auto function = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

COLORREF Mix(COLORREF from, COLORREF to, int part, int whole) {
  auto channel = [&](int a, int b) { return a + (b - a) * part / (whole > 0 ? whole : 1); };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

struct PenAndBrush {
  PenAndBrush(HDC dc, COLORREF pen, int width, COLORREF brush, bool hollow)
      : penObject(::CreatePen(PS_SOLID, width, pen)),
        brushObject(hollow ? nullptr : ::CreateSolidBrush(brush)),
        pen(dc, penObject.get()),
        brushSelection(dc, hollow ? ::GetStockObject(NULL_BRUSH) : brushObject.get()) {}
  UniqueGdiObject penObject;
  UniqueGdiObject brushObject;  // none for a hollow shape: the stock brush is not ours to delete
  SelectObjectScope pen;
  SelectObjectScope brushSelection;
};

void DrawMagnifier(HDC dc, const RECT& r, int unit) {
  const int size = r.right - r.left;
  PenAndBrush tools(dc, RGB(30, 90, 170), 2 * unit, RGB(220, 235, 250), false);
  ::Ellipse(dc, r.left + size / 8, r.top + size / 8, r.left + size * 5 / 8 + 1, r.top + size * 5 / 8 + 1);
  UniqueGdiObject handle(::CreatePen(PS_SOLID, 3 * unit, RGB(30, 90, 170)));
  SelectObjectScope selection(dc, handle.get());
  ::MoveToEx(dc, r.left + size * 9 / 16, r.top + size * 9 / 16, nullptr);
  ::LineTo(dc, r.left + size * 7 / 8, r.top + size * 7 / 8);
}

void DrawCheckMark(HDC dc, const RECT& r, int unit, COLORREF color) {
  const int size = r.right - r.left;
  UniqueGdiObject pen(::CreatePen(PS_SOLID, 3 * unit, color));
  SelectObjectScope selection(dc, pen.get());
  POINT points[] = {{r.left + size * 3 / 16, r.top + size / 2},
                    {r.left + size * 7 / 16, r.top + size * 3 / 4},
                    {r.left + size * 13 / 16, r.top + size / 4}};
  ::Polyline(dc, points, 3);
}

void DrawRestoreArrow(HDC dc, const RECT& r, int unit) {
  const int size = r.right - r.left;
  const COLORREF color = RGB(214, 120, 20);
  {
    PenAndBrush tools(dc, color, 2 * unit, 0, true);
    ::Arc(dc, r.left + size / 8, r.top + size / 8, r.right - size / 8, r.bottom - size / 8, r.left + size / 8,
          r.top + size / 2, r.left + size / 2, r.top + size / 8);
  }
  PenAndBrush tools(dc, color, 1, color, false);
  POINT head[] = {{r.left, r.top + size / 2 - unit},
                  {r.left + size / 4 + unit, r.top + size / 2 - unit},
                  {r.left + size / 8, r.top + size * 3 / 4}};
  ::Polygon(dc, head, 3);
}

void DrawUpdateIcon(HDC dc, const RECT& r, int unit) {
  const int size = r.right - r.left;
  {
    PenAndBrush tools(dc, RGB(255, 255, 255), unit, RGB(255, 255, 255), false);
    ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
  }
  PenAndBrush tools(dc, RGB(40, 150, 60), 1, RGB(40, 150, 60), false);
  POINT arrow[] = {{r.left + size * 6 / 16, r.top + size * 3 / 16},  {r.left + size * 10 / 16, r.top + size * 3 / 16},
                   {r.left + size * 10 / 16, r.top + size * 8 / 16}, {r.left + size * 13 / 16, r.top + size * 8 / 16},
                   {r.left + size / 2, r.top + size * 13 / 16},      {r.left + size * 3 / 16, r.top + size * 8 / 16},
                   {r.left + size * 6 / 16, r.top + size * 8 / 16}};
  ::Polygon(dc, arrow, 7);
}

}  // namespace

int ScreenDpi() {
  ScreenDc screen;
  return ::GetDeviceCaps(screen.get(), LOGPIXELSX);
}

int WindowDpi(HWND window) {
  if (GetDpiForWindowFunction function = DpiForWindowFunction(); function && window) {
    if (UINT dpi = function(window)) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

UniqueGdiObject CreateUiFont(const TFont& font, int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW logFont = metrics.lfMessageFont;
  int points = font.size;
  if (points == 0) {
    points = logFont.lfHeight < 0 ? ::MulDiv(-logFont.lfHeight, 72, ScreenDpi()) : 8;
    if (points <= 0) points = 8;
  }
  logFont.lfHeight = -::MulDiv(points, dpi, 72);
  logFont.lfWidth = 0;
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfUnderline = font.underline ? TRUE : FALSE;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  if (!font.name.empty()) {
    std::wstring name(font.name.begin(), font.name.end());
    lstrcpynW(logFont.lfFaceName, name.c_str(), LF_FACESIZE);
  }
  return UniqueGdiObject(::CreateFontIndirectW(&logFont));
}

COLORREF TextColorOf(const TFont& font, COLORREF fallback) {
  return font.color == TFont::kDefaultColor ? fallback : static_cast<COLORREF>(font.color);
}

void DrawBanner(HDC dc, const RECT& rect) {
  const int width = rect.right - rect.left;
  constexpr int kBand = 4;
  for (int x = 0; x < width; x += kBand) {
    UniqueGdiObject brush(::CreateSolidBrush(Mix(kBannerLeft, kBannerRight, x, width)));
    RECT column{rect.left + x, rect.top, std::min<LONG>(rect.left + x + kBand, rect.right), rect.bottom};
    ::FillRect(dc, &column, static_cast<HBRUSH>(brush.get()));
  }
  // A thin light line closes the band towards the window below it.
  UniqueGdiObject line(::CreateSolidBrush(RGB(120, 170, 220)));
  RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  ::FillRect(dc, &bottom, static_cast<HBRUSH>(line.get()));
}

void DrawPicture(HDC dc, Picture picture, const RECT& rect, int dpi) {
  const int unit = std::max(1, dpi / 96);
  const int size = std::min(rect.right - rect.left, rect.bottom - rect.top);
  const RECT square{rect.left, rect.top, rect.left + size, rect.top + size};
  switch (picture) {
    case Picture::None: break;
    case Picture::Banner: DrawBanner(dc, rect); break;
    case Picture::AppIcon:
      if (HICON icon = LoadAppIcon(size)) ::DrawIconEx(dc, rect.left, rect.top, icon, size, size, 0, nullptr, DI_NORMAL);
      break;
    case Picture::UpdateIcon: DrawUpdateIcon(dc, square, unit); break;
    case Picture::ScanGlyph: DrawMagnifier(dc, square, unit); break;
    case Picture::RepairGlyph: DrawCheckMark(dc, square, unit, RGB(30, 150, 50)); break;
    case Picture::RestoreGlyph: DrawRestoreArrow(dc, square, unit); break;
  }
}

UniqueImageList CreateTickImages(int dpi, TickImagesFor control) {
  const int size = ::MulDiv(16, dpi, 96);
  const int first = control == TickImagesFor::TreeView ? 1 : 0;
  const int count = first + 2;
  UniqueImageList images(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0));
  ScreenDc screen;
  UniqueMemoryDc memoryDc(::CreateCompatibleDC(screen.get()));
  HDC dc = memoryDc.get();
  UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), size * count, size));
  constexpr COLORREF kMask = RGB(255, 0, 255);
  {
    SelectObjectScope selection(dc, bitmap.get());
    UniqueGdiObject maskBrush(::CreateSolidBrush(kMask));
    RECT all{0, 0, size * count, size};
    ::FillRect(dc, &all, static_cast<HBRUSH>(maskBrush.get()));
    const int box = ::MulDiv(13, dpi, 96);
    const int inset = (size - box) / 2;
    for (int tick = 0; tick < 2; ++tick) {
      const int left = (first + tick) * size + inset;
      RECT frame{left, inset, left + box, inset + box};
      ::DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (tick == 1 ? DFCS_CHECKED : 0));
    }
  }
  ::ImageList_AddMasked(images.get(), static_cast<HBITMAP>(bitmap.get()), kMask);
  return images;
}

HICON LoadAppIcon(int size) {
  static std::mutex mutex;
  static std::map<int, HICON> icons;  // kept for the whole run
  std::lock_guard lock(mutex);
  auto found = icons.find(size);
  if (found != icons.end()) return found->second;
  HICON icon = static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  icons[size] = icon;
  return icon;
}

}  // namespace quillet::ui::win32
