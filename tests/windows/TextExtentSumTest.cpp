// The list's column widths sum the font's advances instead of asking the system for every text:
// that sum must be the system's own text extent, in the fonts the program draws with.
#include <gtest/gtest.h>

#include <string>

#include "ui/Component.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/TextExtentSum.h"
#include "ui/win32/UiHandles.h"

namespace quillet::testing {
namespace {

using namespace quillet::ui::win32;

TEST(TextExtentSum, EqualsTheSystemsExtentOfLatinTextsAndLeavesOthersToIt) {
  const char* const summed[] = {
      "",
      "Invalid File or Folder",
      "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{100000000-3F2A-4C1D-9B7E-0A1B2C3D4E5F}\\InprocServer32",
      "\"C:\\Program Files\\Vendor\\App 1.2\\app.exe\" /run -x %1 ;,.!?@#$^&*()[]{}<>|~`'+=_",
      "C:\\Caf\xC3\xA9\\\xC3\x9C" "ber\\\xC5\x81\xC3\xB3" "d\xC5\xBA.dll",  // Latin-1 and Latin Extended-A
  };
  const char* const measured[] = {
      "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B",  // Cyrillic
      "C:\\\xE6\x96\x87\xE4\xBB\xB6.exe",                                                // CJK
      "C:\\\xF0\x9F\x98\x80.lnk",                                                        // beyond the BMP
      "C:\\bad\xC3",                                                                     // cut short
      "C:\\over\xC1\xBFlong",                                                            // overlong form
      "tab\there",
  };
  for (const ui::TFont& font : {ui::TFont{}, ui::TFont{.bold = true}, ui::TFont{.name = "Tahoma", .size = 11}}) {
    SCOPED_TRACE(font.name + (font.bold ? " bold" : ""));
    ScreenDc screen;
    const UniqueGdiObject handle = CreateUiFont(font, 96);
    SelectObjectScope selection(screen.get(), handle.get());
    const TextExtentSum sums(screen.get());
    for (const char* text : summed) {
      SCOPED_TRACE(text);
      ASSERT_TRUE(sums.Width(text).has_value());
      EXPECT_EQ(*sums.Width(text), MeasureTextExtent(screen.get(), text));
    }
    for (const char* text : measured) {
      SCOPED_TRACE(text);
      EXPECT_FALSE(sums.Width(text).has_value());
    }
  }
}

}  // namespace
}  // namespace quillet::testing
