#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "base/Utf16.h"

// Random registry trees for export round trips: every value kind, empty and odd data, and names
// full of the characters the file format has to escape or could misread. All text stays inside
// Windows-1252, so every tree has an exact REGEDIT4 form. Store-neutral: the host seeds the
// in-memory registry from it, the Wine tests the real one.
namespace quillet::testing {

struct RandomKey {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RandomKey> subkeys;
};

class RandomTreeMaker {
 public:
  explicit RandomTreeMaker(uint32_t seed) : rng_(seed) {}

  RandomKey Make(std::string name, int depth, int valuesPerKey) {
    RandomKey key{std::move(name), {}, {}};
    if (Chance(2)) key.values.push_back(Value(""));
    for (int i = 0; i < valuesPerKey; ++i) key.values.push_back(Value(UniqueName(i, true)));
    if (depth > 0) {
      const int subkeys = Pick(1, 3);
      for (int i = 0; i < subkeys; ++i) key.subkeys.push_back(Make(UniqueName(i, false), depth - 1, valuesPerKey));
    }
    return key;
  }

  // A value of every kind with its ordinary and its odd forms.
  RegistryValue Value(std::string name) {
    RegistryValue value{std::move(name), 0, {}};
    switch (Pick(0, 11)) {
      case 0: value.type = regtype::kString; value.data = Utf16LeBytes(Text(0, 30)); break;
      case 1:  // embedded NUL, no terminator, nothing at all, or a line break
        value.type = regtype::kString;
        switch (Pick(0, 3)) {
          case 0: value.data = Utf16LeBytes(Text(0, 5) + std::string(1, '\0') + Text(0, 5)); break;
          case 1: value.data = Utf16LeBytes(Text(1, 8), false); break;
          case 2: break;
          default: value.data = Utf16LeBytes(Text(0, 5) + "\r\n" + Text(0, 5)); break;
        }
        break;
      case 2:
        value.type = regtype::kExpandString;
        value.data = Utf16LeBytes("%SystemRoot%\\" + Text(0, 10), !Chance(4));
        break;
      case 3: {
        value.type = regtype::kMultiString;
        const int items = Pick(0, 4);
        for (int i = 0; i < items; ++i) Append(value.data, Utf16LeBytes(Chance(3) ? "" : Text(1, 8)));
        if (!Chance(5)) Append(value.data, {0, 0});
        break;
      }
      case 4: value.type = regtype::kDword; value.data = Bytes(4); break;
      case 5: value.type = regtype::kDword; value.data = Bytes(Chance(2) ? 0 : Pick(1, 8)); break;
      case 6: value.type = regtype::kBinary; value.data = Bytes(Pick(0, 80)); break;
      case 7: value.type = regtype::kBinary; value.data = Bytes(Pick(24, 28) * (Chance(2) ? 1 : 2)); break;
      case 8: value.type = regtype::kQword; value.data = Bytes(8); break;
      case 9: value.type = regtype::kNone; value.data = Bytes(Pick(0, 5)); break;
      case 10: value.type = 0x100; value.data = Bytes(Pick(0, 40)); break;
      default: {
        constexpr uint32_t kOthers[] = {regtype::kDwordBigEndian, regtype::kResourceList, 0xABCDE};
        value.type = kOthers[Pick(0, 2)];
        value.data = Bytes(Pick(0, 30));
        break;
      }
    }
    return value;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(int oneIn) { return Pick(1, oneIn) == 1; }

  static void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
  }

  std::vector<uint8_t> Bytes(int count) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(Pick(0, 255));
    return bytes;
  }

  // Printable text with the characters the format escapes or treats specially, and a few
  // Windows-1252 letters beyond ASCII.
  std::string Text(int minLength, int maxLength) {
    static const std::vector<std::string> kPieces = {
        "a", "B", "z", "7", " ", "\"", "\\", "=", ";", "#", "[", "]", "@", ",", "-", "%", "\t",
        "\xC3\xA9" /* é */, "\xE2\x82\xAC" /* € */, "\xC5\xB8" /* Ÿ */, "\\\"", "\"\\"};
    std::string text;
    const int length = Pick(minLength, maxLength);
    for (int i = 0; i < length; ++i) text += kPieces[static_cast<size_t>(Pick(0, static_cast<int>(kPieces.size()) - 1))];
    return text;
  }

  // Unique among siblings whatever the case: the index and a "." lead, and "." is in no piece.
  std::string UniqueName(int index, bool isValue) {
    std::string name = std::to_string(index) + ".";
    std::string rest = Text(0, 6);
    if (!isValue) {
      for (char& c : rest) {
        if (c == '\\' || c == '\t') c = '_';
      }
    }
    return name + rest;
  }

  std::mt19937 rng_;
};

// Values of each type in a tree, for reports of what a round trip covered.
inline void CountValues(const RandomKey& key, std::map<uint32_t, int>& byType) {
  for (const RegistryValue& value : key.values) ++byType[value.type];
  for (const RandomKey& subkey : key.subkeys) CountValues(subkey, byType);
}

}  // namespace quillet::testing
