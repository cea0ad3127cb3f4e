#include "ui/win32/TextExtentSum.h"

#include <string>

#include "platform/win32/WideString.h"

namespace quillet::ui::win32 {

TextExtentSum::TextExtentSum(HDC dc) {
  INT widths[kEnd - kFirst] = {};
  known_ = ::GetCharWidth32W(dc, kFirst, kEnd - 1, widths) != FALSE;
  for (size_t i = 0; i < advances_.size(); ++i) advances_[i] = widths[i];
}

std::optional<int> TextExtentSum::Width(std::string_view utf8) const {
  if (!known_) return std::nullopt;
  int width = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    char32_t c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0x80) {
      // Only two-byte sequences reach the table's end; anything longer or malformed is measured.
      if ((c & 0xE0) != 0xC0 || i + 1 >= utf8.size()) return std::nullopt;
      const auto next = static_cast<unsigned char>(utf8[i + 1]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = ((c & 0x1F) << 6) | (next & 0x3F);
      if (c < 0x80) return std::nullopt;  // an overlong form, which the conversion replaces
      ++i;
    }
    if (c < kFirst || c >= kEnd) return std::nullopt;
    width += advances_[c - kFirst];
  }
  return width;
}

int MeasureTextExtent(HDC dc, std::string_view utf8) {
  const std::wstring text = quillet::win32::ToWide(utf8);
  SIZE size{};
  if (!::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

}  // namespace quillet::ui::win32
