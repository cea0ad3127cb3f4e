#include "platform/memory/ShellLinkReader.h"

#include <array>
#include <cstdint>
#include <optional>

#include "base/Utf16.h"
#include "platform/memory/Windows1252.h"

namespace quillet {
namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored.
constexpr std::array<uint8_t, 16> kLinkClassId{0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}, the computer folder: the root of drive paths.
constexpr std::array<uint8_t, 16> kComputerClassId{0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                   0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

namespace linkflag {
constexpr uint32_t kHasItemList = 0x1;
constexpr uint32_t kHasLinkInfo = 0x2;
constexpr uint32_t kHasName = 0x4;
constexpr uint32_t kHasRelativePath = 0x8;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kForceNoLinkInfo = 0x100;
}  // namespace linkflag

constexpr uint32_t kVolumeAndLocalBasePath = 0x1;
constexpr uint32_t kNetworkLinkAndPathSuffix = 0x2;
constexpr uint32_t kFileEntryExtensionSignature = 0xBEEF0004;

// A bounded view: every read outside it fails instead of reading past the data.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}

  size_t size() const { return data_.size(); }
  std::optional<uint8_t> U8(size_t at) const {
    if (at >= data_.size()) return std::nullopt;
    return static_cast<uint8_t>(Byte(at));
  }
  std::optional<uint16_t> U16(size_t at) const {
    if (at > data_.size() || data_.size() - at < 2) return std::nullopt;
    return static_cast<uint16_t>(Byte(at) | Byte(at + 1) << 8);
  }
  std::optional<uint32_t> U32(size_t at) const {
    if (at > data_.size() || data_.size() - at < 4) return std::nullopt;
    return static_cast<uint32_t>(Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16) |
           static_cast<uint32_t>(Byte(at + 3)) << 24;
  }
  std::optional<Bytes> Slice(size_t at, size_t length) const {
    if (at > data_.size() || data_.size() - at < length) return std::nullopt;
    return Bytes(data_.substr(at, length));
  }
  bool Equals(size_t at, const std::array<uint8_t, 16>& expected) const {
    if (at > data_.size() || data_.size() - at < expected.size()) return false;
    for (size_t i = 0; i < expected.size(); ++i) {
      if (Byte(at + i) != expected[i]) return false;
    }
    return true;
  }
  // The position of the first NUL byte from the offset on.
  std::optional<size_t> FindNul(size_t at) const {
    if (at >= data_.size()) return std::nullopt;
    const size_t end = data_.find('\0', at);
    if (end == std::string_view::npos) return std::nullopt;
    return end;
  }
  // A NUL-terminated single-byte string starting at the offset; none when no NUL follows.
  std::optional<std::string> AnsiString(size_t at) const {
    std::optional<size_t> end = FindNul(at);
    if (!end) return std::nullopt;
    return memory::Windows1252().ToUtf8(data_.substr(at, *end - at));
  }
  // A NUL-terminated UTF-16LE string starting at the offset; none when no NUL follows.
  std::optional<std::string> UnicodeString(size_t at) const {
    for (size_t end = at; end < data_.size() && data_.size() - end >= 2; end += 2) {
      if (Byte(end) == 0 && Byte(end + 1) == 0) {
        return Utf8FromUtf16Le(reinterpret_cast<const uint8_t*>(data_.data() + at), end - at, false);
      }
    }
    return std::nullopt;
  }

 private:
  uint32_t Byte(size_t at) const { return static_cast<unsigned char>(data_[at]); }
  std::string_view data_;
};

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (name.empty()) return folder;
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

// A string of the link info: its Unicode form when the header has one, else the ANSI form.
// An offset of 0 means absent; an offset that leads nowhere makes the whole block malformed.
struct InfoString {
  bool malformed = false;
  std::optional<std::string> text;
};

InfoString ReadInfoString(const Bytes& info, uint32_t ansiOffset, std::optional<uint32_t> unicodeOffset) {
  InfoString result;
  if (unicodeOffset && *unicodeOffset != 0) {
    result.text = info.UnicodeString(*unicodeOffset);
  } else if (ansiOffset != 0) {
    result.text = info.AnsiString(ansiOffset);
  } else {
    return result;
  }
  result.malformed = !result.text;
  return result;
}

// The network part of the link info: the share name, such as \\server\share.
std::optional<std::string> ReadNetworkName(const Bytes& info, uint32_t offset) {
  std::optional<uint32_t> size = info.U32(offset);
  if (!size || *size < 0x14) return std::nullopt;
  std::optional<Bytes> block = info.Slice(offset, *size);
  if (!block) return std::nullopt;
  std::optional<uint32_t> nameOffset = block->U32(8);
  if (!nameOffset) return std::nullopt;
  if (*nameOffset > 0x14) {
    std::optional<uint32_t> unicodeOffset = block->U32(0x14);
    if (unicodeOffset && *unicodeOffset != 0) return block->UnicodeString(*unicodeOffset);
  }
  return block->AnsiString(*nameOffset);
}

// The target the link info gives; empty when it gives none. False when the block is malformed.
bool ReadLinkInfoTarget(const Bytes& info, std::string& target) {
  std::optional<uint32_t> headerSize = info.U32(4);
  std::optional<uint32_t> flags = info.U32(8);
  std::optional<uint32_t> localOffset = info.U32(16);
  std::optional<uint32_t> networkOffset = info.U32(20);
  std::optional<uint32_t> suffixOffset = info.U32(24);
  if (!headerSize || !flags || !localOffset || !networkOffset || !suffixOffset || *headerSize < 0x1C) return false;
  std::optional<uint32_t> localUnicodeOffset;
  std::optional<uint32_t> suffixUnicodeOffset;
  if (*headerSize >= 0x24) {
    localUnicodeOffset = info.U32(28);
    suffixUnicodeOffset = info.U32(32);
    if (!localUnicodeOffset || !suffixUnicodeOffset) return false;
  }

  const InfoString suffix = ReadInfoString(info, *suffixOffset, suffixUnicodeOffset);
  if (suffix.malformed) return false;
  const std::string suffixText = suffix.text.value_or("");
  if ((*flags & kNetworkLinkAndPathSuffix) && *networkOffset != 0) {
    std::optional<std::string> share = ReadNetworkName(info, *networkOffset);
    if (!share) return false;
    target = JoinPath(*share, suffixText);
    return true;
  }
  if (*flags & kVolumeAndLocalBasePath) {
    const InfoString local = ReadInfoString(info, *localOffset, localUnicodeOffset);
    if (local.malformed) return false;
    if (local.text) target = *local.text + suffixText;
  }
  return true;
}

// The long name of a file-system item, kept in its extension block after the short name.
std::optional<std::string> ReadLongName(const Bytes& item, size_t from) {
  for (size_t at = from; at + 8 <= item.size(); ++at) {
    if (item.U32(at + 4) != kFileEntryExtensionSignature) continue;
    std::optional<uint16_t> size = item.U16(at);
    std::optional<uint16_t> version = item.U16(at + 2);
    if (!size || !version) return std::nullopt;
    std::optional<Bytes> block = item.Slice(at, *size);
    if (!block) return std::nullopt;
    size_t nameOffset = 0;
    if (*version >= 9) {
      nameOffset = 46;
    } else if (*version == 8) {
      nameOffset = 42;
    } else if (*version == 7) {
      nameOffset = 38;
    } else if (*version >= 3) {
      nameOffset = 20;
    } else {
      return std::nullopt;
    }
    return block->UnicodeString(nameOffset);
  }
  return std::nullopt;
}

// A drive path from the item list: the computer folder, a drive, then file-system names.
std::string ReadItemListTarget(const Bytes& list) {
  std::string path;
  bool sawComputer = false;
  size_t at = 0;
  for (;;) {
    std::optional<uint16_t> size = list.U16(at);
    if (!size) return {};
    if (*size == 0) break;
    std::optional<Bytes> item = list.Slice(at, *size);
    if (!item || *size < 3) return {};
    const uint8_t type = *item->U8(2);
    if (!sawComputer) {
      if (type != 0x1F || !item->Equals(4, kComputerClassId)) return {};
      sawComputer = true;
    } else if (path.empty()) {
      if ((type & 0x70) != 0x20) return {};
      std::optional<std::string> drive = item->AnsiString(3);
      if (!drive || drive->empty()) return {};
      path = *drive;
    } else {
      if ((type & 0x70) != 0x30) return {};
      // Size, type, a spare byte, the file size, the time and the attributes come first.
      constexpr size_t kNameOffset = 14;
      const bool unicodeName = (type & 0x04) != 0;
      std::optional<std::string> name = unicodeName ? item->UnicodeString(kNameOffset) : item->AnsiString(kNameOffset);
      if (!name || name->empty()) return {};
      if (!unicodeName) {
        // The short name is followed by the extension block that holds the long one.
        const size_t shortNameEnd = *item->FindNul(kNameOffset) + 1;
        if (std::optional<std::string> longName = ReadLongName(*item, shortNameEnd); longName && !longName->empty()) {
          name = longName;
        }
      }
      path = JoinPath(path, *name);
    }
    at += *size;
  }
  return path;
}

// Counted strings follow the link info; each must fit in the file.
bool SkipStringData(const Bytes& file, uint32_t flags, size_t& at) {
  const size_t unitSize = (flags & linkflag::kIsUnicode) ? 2 : 1;
  for (uint32_t flag : {linkflag::kHasName, linkflag::kHasRelativePath, linkflag::kHasWorkingDir,
                        linkflag::kHasArguments, linkflag::kHasIconLocation}) {
    if (!(flags & flag)) continue;
    std::optional<uint16_t> count = file.U16(at);
    if (!count || !file.Slice(at + 2, *count * unitSize)) return false;
    at += 2 + *count * unitSize;
  }
  return true;
}

// Extra data blocks up to the terminal one; each must fit, and a file without the terminal
// block was cut short.
bool ExtraDataFits(const Bytes& file, size_t at) {
  for (;;) {
    std::optional<uint32_t> size = file.U32(at);
    if (!size) return false;
    if (*size < 4) return true;
    if (!file.Slice(at, *size)) return false;
    at += *size;
  }
}

}  // namespace

std::string ReadShellLinkTarget(std::string_view data) {
  const Bytes file(data);
  if (file.U32(0) != kHeaderSize || !file.Equals(4, kLinkClassId) || file.size() < kHeaderSize) return {};
  const uint32_t flags = *file.U32(0x14);
  size_t at = kHeaderSize;

  std::optional<Bytes> itemList;
  if (flags & linkflag::kHasItemList) {
    std::optional<uint16_t> size = file.U16(at);
    if (!size) return {};
    itemList = file.Slice(at + 2, *size);
    if (!itemList) return {};
    at += 2 + *size;
  }

  std::string target;
  if (flags & linkflag::kHasLinkInfo) {
    std::optional<uint32_t> size = file.U32(at);
    if (!size || *size < 0x1C) return {};
    std::optional<Bytes> info = file.Slice(at, *size);
    if (!info) return {};
    if (!(flags & linkflag::kForceNoLinkInfo) && !ReadLinkInfoTarget(*info, target)) return {};
    at += *size;
  }

  if (!SkipStringData(file, flags, at) || !ExtraDataFits(file, at)) return {};
  if (target.empty() && itemList) target = ReadItemListTarget(*itemList);
  return target;
}

}  // namespace quillet
