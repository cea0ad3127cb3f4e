#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/win32/Win32.h"

namespace quillet::ui::win32 {

// The width of a text in the font selected into a device context, worked out from the advance
// widths of its characters instead of asking the system for every text: the system's text
// extent does not kern, so it is the sum of the advances. Only for characters of the Latin
// blocks, read from the font once; any other character (or a stray byte) gives no answer, and
// the caller measures that text itself.
class TextExtentSum {
 public:
  explicit TextExtentSum(HDC dc);

  std::optional<int> Width(std::string_view utf8) const;

 private:
  static constexpr char32_t kFirst = 0x20;
  static constexpr char32_t kEnd = 0x250;  // up to the end of Latin Extended-B
  std::array<int, kEnd - kFirst> advances_{};
  bool known_ = false;
};

// The system's own measure of one text in the font selected into the device context.
int MeasureTextExtent(HDC dc, std::string_view utf8);

}  // namespace quillet::ui::win32
