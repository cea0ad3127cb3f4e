#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 24-bit RGB pictures as PNG files: one IDAT chunk of zlib "stored" blocks, no
// compression, which every viewer reads.
namespace quillet::testing {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel
};

std::vector<uint8_t> EncodePng(const RgbImage& image);
bool WritePng(const std::wstring& path, const RgbImage& image);

}  // namespace quillet::testing
