#include "SyntheticRegistry.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "base/Utf16.h"

namespace quillet::bench {
namespace {

constexpr std::array<std::string_view, 24> kVendorSyllables{
    "con", "tar", "vel", "mi", "dro", "sa", "bel", "nor", "quin", "ta", "lo", "ver",
    "pax", "ri", "den", "ko", "lum", "sor", "fen", "ga", "tri", "zo", "mar", "eth"};
constexpr std::array<std::string_view, 16> kProductSyllables{"Writer", "Sync", "Vault", "Player", "Studio", "Link",
                                                             "Guard", "View", "Cast", "Draw", "Tune", "Mail",
                                                             "Chart", "Pack", "Scan", "Note"};
// 61 words, a prime, so stepping by 7 from any start names 61 siblings without a repeat.
constexpr std::array<std::string_view, 61> kKeyWords{
    "Settings", "Options", "Recent File List", "Preferences", "Plugins", "Toolbars", "Windows", "Layout",
    "History", "Profiles", "Accounts", "Cache", "Modules", "Components", "Extensions", "Filters", "Formats",
    "Defaults", "Policies", "Security", "Network", "Display", "Fonts", "Colors", "Shortcuts", "Menus", "Dialogs",
    "Printers", "Devices", "Drivers", "Services", "Tasks", "Updates", "Licenses", "Languages", "Locales",
    "Templates", "Themes", "Skins", "Sounds", "Events", "Handlers", "Verbs", "Shell", "Command", "DefaultIcon",
    "Capabilities", "FileAssociations", "MimeTypes", "Protocols", "Servers", "Clients", "Sessions", "Users",
    "Groups", "Roles", "Sources", "Targets", "Jobs", "Queues", "State"};
constexpr std::array<std::string_view, 61> kValueWords{
    "Path", "InstallLocation", "DisplayName", "Version", "Language", "Enabled", "LastUsed", "WindowPos",
    "Flags", "Count", "Mode", "Server", "Port", "UserName", "Theme", "FontSize", "AutoStart", "Timeout",
    "Executable", "Command", "IconPath", "HelpFile", "LogFile", "DataFolder", "Channel", "Build", "Revision",
    "Publisher", "Description", "Comment", "Level", "Width", "Height", "Left", "Top", "Visible", "Order",
    "Id", "Key", "Token", "Hash", "Size", "Limit", "Interval", "Retry", "Proxy", "Url", "Email", "Company",
    "Serial", "Edition", "Culture", "Format", "Style", "Filter", "Sort", "View", "Zoom", "Scale", "Offset",
    "Target"};
constexpr std::array<std::string_view, 16> kPlainTexts{
    "Apartment", "Both", "Free", "Microsoft Corporation", "Enabled", "Default", "en-US", "1", "0", "Yes",
    "Normal", "Automatic", "Standard Edition", "Windows NT", "UTF-8", "Open"};
constexpr std::array<std::string_view, 7> kProductFiles{"%.exe",      "%svc.exe",  "lib%0.dll", "lib%1.dll",
                                                         "lib%2.dll", "readme.txt", "help.chm"};
constexpr std::array<std::string_view, 6> kArguments{"/min", "-silent", "/background --tray", "%1", "/s /v",
                                                     "-k netsvcs"};

constexpr uint32_t kMaxDepth = 14;

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

class Generator {
 public:
  Generator(const SyntheticShape& shape, SyntheticOutput& out)
      : shape_(shape), out_(out), state_(shape.seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {
    keysLeft_ = std::max<uint64_t>(shape.keys, 8);
    valuesLeft_ = shape.values;
    products_ = std::max<uint64_t>(shape.keys / 150, 20);
    systemFiles_ = std::max<uint64_t>(shape.keys / 500, 10);
  }

  SyntheticSummary Run() {
    for (uint64_t p = 0; p < products_; ++p) {
      for (std::string_view pattern : kProductFiles) File(ProductFolder(p) + Expand(pattern, ProductName(p)));
    }
    for (uint64_t n = 0; n < systemFiles_; ++n) File(SystemFile(n));
    File(std::string(kSyntheticSystemRoot) + "\\System32\\rundll32.exe");

    const uint64_t total = keysLeft_;
    const uint64_t machine = total * 65 / 100;
    const uint64_t user = total * 25 / 100;
    const uint64_t defaultUser = total - machine - user;
    const bool based = !shape_.baseKey.empty();
    if (based) EmitKey(shape_.baseKey, 0, false);
    MachinePart(based ? shape_.baseKey + "\\Machine" : "HKEY_LOCAL_MACHINE\\Software", machine);
    UserPart(based ? shape_.baseKey + "\\User" : "HKEY_CURRENT_USER", user);
    UserPart(based ? shape_.baseKey + "\\DefaultUser" : "HKEY_USERS\\.DEFAULT", defaultUser);
    // Rounding leaves at most a few keys; they hang below the last part.
    while (keysLeft_ > 0) EmitKey(LastPart(based) + "\\Spare" + std::to_string(keysLeft_), 1, true);
    return summary_;
  }

 private:
  // splitmix64: small, fast and the same everywhere.
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t Below(uint64_t n) { return n == 0 ? 0 : Next() % n; }
  bool Chance(uint32_t perMille) { return Below(1000) < perMille; }

  std::string LastPart(bool based) const { return based ? shape_.baseKey + "\\DefaultUser" : "HKEY_USERS\\.DEFAULT"; }

  static std::string Expand(std::string_view pattern, const std::string& name) {
    std::string text;
    for (char c : pattern) {
      if (c == '%') {
        text += name;
      } else {
        text += c;
      }
    }
    return text;
  }

  static std::string VendorName(uint64_t index) {
    std::string name;
    for (int i = 0; i < 3; ++i) {
      name += kVendorSyllables[index % kVendorSyllables.size()];
      index /= kVendorSyllables.size();
    }
    if (index > 0) name += std::to_string(index);
    return Capitalised(name);
  }
  std::string ProductName(uint64_t product) const {
    return std::string(kProductSyllables[product % kProductSyllables.size()]) + std::to_string(product / 16);
  }
  std::string ProductVendor(uint64_t product) const { return VendorName(product / 3); }
  std::string ProductFolder(uint64_t product) const {
    return std::string(kSyntheticProgramFiles) + "\\" + ProductVendor(product) + "\\" + ProductName(product) + "\\";
  }
  static std::string SystemFile(uint64_t n) {
    return std::string(kSyntheticSystemRoot) + "\\System32\\qb" + std::to_string(n) + ".dll";
  }

  std::string Guid() {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const uint64_t a = Next();
    const uint64_t b = Next();
    std::string text = "{";
    for (int i = 0; i < 32; ++i) {
      if (i == 8 || i == 12 || i == 16 || i == 20) text += '-';
      const uint64_t bits = i < 16 ? a >> (4 * i) : b >> (4 * (i - 16));
      text += kHex[bits & 15];
    }
    return text + "}";
  }

  void File(const std::string& path) {
    ++summary_.files;
    out_.File(path);
  }

  // One key with its values; counts < 0 mean "as many as the remaining budget suggests".
  void EmitKey(const std::string& path, uint32_t depth, bool randomValues) {
    if (keysLeft_ == 0) return;
    out_.Key(path);
    --keysLeft_;
    ++summary_.keys;
    summary_.maxDepth = std::max(summary_.maxDepth, depth);
    summary_.depthSum += depth;
    if (randomValues) RandomValues();
  }

  // The mean number of values a key still gets, so that the total comes out as asked.
  void RandomValues() {
    uint64_t count = 0;
    if (keysLeft_ == 0) {
      count = valuesLeft_;
    } else if (valuesLeft_ > 0 && !Chance(350)) {
      // Keys with values get about mean/0.65 of them; a few hold dozens (uninstall entries, lists).
      const uint64_t mean = std::max<uint64_t>(1, (valuesLeft_ * 100 + keysLeft_ * 65 - 1) / (keysLeft_ * 65));
      count = Chance(30) ? 10 + Below(4 * mean + 20) : 1 + Below(2 * mean - 1);
    }
    count = std::min(count, valuesLeft_);
    const uint64_t start = Below(kValueWords.size());
    for (uint64_t j = 0; j < count; ++j) {
      std::string name;
      if (j == 0 && Chance(300)) {
        name.clear();  // the default value
      } else if (j < kValueWords.size()) {
        name = kValueWords[(start + j * 7) % kValueWords.size()];
      } else {
        name = "Item" + std::to_string(j);
      }
      Value(name, RandomKind());
    }
  }

  uint32_t RandomKind() {
    const uint64_t r = Below(1000);
    if (r < 560) return regtype::kString;
    if (r < 600) return regtype::kExpandString;
    if (r < 850) return regtype::kDword;
    if (r < 940) return regtype::kBinary;
    if (r < 970) return regtype::kMultiString;
    if (r < 990) return regtype::kQword;
    return regtype::kNone;
  }

  void Value(std::string name, uint32_t type) {
    RegistryValue value{std::move(name), type, {}};
    switch (type) {
      case regtype::kString: value.data = Utf16LeBytes(Chance(150) ? PathText(false) : PlainText()); break;
      case regtype::kExpandString: value.data = Utf16LeBytes(Chance(700) ? PathText(true) : PlainText()); break;
      case regtype::kDword: value.data = Bytes(4); break;
      case regtype::kQword: value.data = Bytes(8); break;
      case regtype::kBinary: value.data = Bytes(Chance(10) ? 512 + Below(1536) : Below(64)); break;
      case regtype::kMultiString: {
        const uint64_t items = Below(5);
        for (uint64_t i = 0; i < items; ++i) {
          std::vector<uint8_t> item = Utf16LeBytes(Chance(300) ? PathText(false) : PlainText());
          value.data.insert(value.data.end(), item.begin(), item.end());
        }
        value.data.push_back(0);
        value.data.push_back(0);
        break;
      }
      default: break;
    }
    EmitValue(value);
  }

  // A value whose text is given (the fixed values of class registrations).
  void StringValue(std::string name, std::string text, bool pathLike) {
    RegistryValue value{std::move(name), regtype::kString, Utf16LeBytes(text)};
    if (pathLike) ++pathValuesPending_;
    EmitValue(value);
  }

  void EmitValue(const RegistryValue& value) {
    if (valuesLeft_ == 0) {
      pathValuesPending_ = 0;
      return;
    }
    --valuesLeft_;
    ++summary_.values;
    if (value.type == regtype::kString || value.type == regtype::kExpandString) {
      ++summary_.stringValues;
      summary_.pathValues += pathValuesPending_;
    }
    pathValuesPending_ = 0;
    out_.Value(value);
  }

  std::vector<uint8_t> Bytes(uint64_t count) {
    std::vector<uint8_t> data(count);
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(Next());
    return data;
  }

  std::string PlainText() {
    switch (Below(10)) {
      case 0: return "";
      case 1: return std::to_string(Below(10)) + "." + std::to_string(Below(20)) + "." + std::to_string(Below(30000));
      case 2: return Guid();
      case 3: return "https://www." + VendorName(Below(products_ / 3 + 1)) + ".example/support";
      case 4: return "@%SystemRoot%\\System32\\qb" + std::to_string(Below(systemFiles_)) + ".dll,-" +
                     std::to_string(100 + Below(900));
      case 5: return "Software\\" + VendorName(Below(products_ / 3 + 1)) + "\\" + ProductName(Below(products_));
      case 6: return "shell32.dll,-" + std::to_string(Below(300));
      default: return std::string(kPlainTexts[Below(kPlainTexts.size())]);
    }
  }

  // A reference to a file or folder; about 3 in 100 name something missing.
  std::string PathText(bool expandable) {
    ++pathValuesPending_;
    const uint64_t product = Below(products_);
    const std::string folder = ProductFolder(product);
    const std::string name = ProductName(product);
    std::string file = folder + Expand(kProductFiles[Below(kProductFiles.size())], name);
    const uint64_t missing = Below(1000);
    if (missing < 30) {
      // Missing files in folders that exist, and now and then a whole folder gone.
      file = missing < 22 ? folder + "old" + std::to_string(Below(1000)) + ".exe"
                          : std::string(kSyntheticProgramFiles) + "\\" + ProductVendor(product) + "\\Removed" +
                                std::to_string(Below(100)) + "\\" + name + ".exe";
    }
    const std::string system = "qb" + std::to_string(Below(systemFiles_)) + ".dll";
    if (expandable) {
      if (Chance(600)) return "%SystemRoot%\\System32\\" + system + (Chance(300) ? ",-" + std::to_string(Below(500)) : "");
      if (missing < 30) ++summary_.missingReferences;
      return "%ProgramFiles%" + file.substr(std::string_view(kSyntheticProgramFiles).size());
    }
    if (missing < 30) {
      ++summary_.missingReferences;
      const std::string arguments(kArguments[Below(kArguments.size())]);
      switch (Below(3)) {
        case 0: return file;
        case 1: return "\"" + file + "\" " + arguments;
        default: return file + " " + arguments;
      }
    }
    switch (Below(20)) {
      case 0: case 1: case 2: case 3: case 4: case 5: return file;
      case 6: case 7: case 8: return "\"" + folder + name + ".exe\" " + std::string(kArguments[Below(kArguments.size())]);
      case 9: case 10: return folder + name + ".exe " + std::string(kArguments[Below(kArguments.size())]);
      case 11: case 12: return folder;
      case 13: return folder.substr(0, folder.size() - 1);
      case 14: case 15: return folder + name;
      case 16: return std::string(kSyntheticSystemRoot) + "\\System32\\rundll32.exe " + system + ",Entry" +
                      std::to_string(Below(10));
      default: return std::string(kSyntheticSystemRoot) + "\\System32\\" + system;
    }
  }

  // A vendor or product tree: each child takes a share of what is left, small ones often, large
  // ones now and then, so fan-out and depth vary as in a real hive.
  void RandomTree(const std::string& path, uint32_t depth, uint64_t budget) {
    EmitKey(path, depth, true);
    uint64_t left = budget - 1;
    const uint64_t start = Below(kKeyWords.size());
    for (uint64_t i = 0; left > 0 && keysLeft_ > 0; ++i) {
      uint64_t size = 1;
      if (depth + 1 < kMaxDepth && left > 1) {
        const uint64_t u = Below(1u << 10);
        size = 1 + (((left - 1) * (u * u * u >> 10)) >> 20);
      }
      std::string child = i < kKeyWords.size() ? std::string(kKeyWords[(start + i * 7) % kKeyWords.size()])
                                                : "Entry" + std::to_string(i);
      RandomTree(path + "\\" + child, depth + 1, size);
      left -= size;
    }
  }

  void ClassRegistrations(const std::string& classes, uint64_t budget) {
    const uint64_t stop = keysLeft_ > budget ? keysLeft_ - budget : 0;
    EmitKey(classes, 1, false);
    uint64_t extension = 0;
    while (keysLeft_ > stop + 1 && extension < budget / 20) {
      EmitKey(classes + "\\.x" + std::to_string(extension), 2, false);
      StringValue("", "x" + std::to_string(extension) + "file", false);
      if (Chance(400)) StringValue("Content Type", "application/x-" + std::to_string(extension), false);
      ++extension;
    }
    const uint64_t clsidStop = stop + (keysLeft_ - stop) * 45 / 100;
    EmitKey(classes + "\\CLSID", 2, false);
    while (keysLeft_ > clsidStop + 3) {
      const std::string entry = classes + "\\CLSID\\" + Guid();
      const uint64_t product = Below(products_);
      EmitKey(entry, 3, false);
      StringValue("", ProductName(product) + " Class", false);
      EmitKey(entry + "\\InprocServer32", 4, false);
      const std::string server =
          Chance(300) ? SystemFile(Below(systemFiles_))
                      : ProductFolder(product) + "lib" + ProductName(product) + std::to_string(Below(3)) + ".dll";
      const bool gone = Chance(25);
      if (gone) ++summary_.missingReferences;
      StringValue("", gone ? ProductFolder(product) + "gone" + std::to_string(Below(50)) + ".dll" : server, true);
      StringValue("ThreadingModel", Chance(700) ? "Apartment" : "Both", false);
      if (Chance(500)) {
        EmitKey(entry + "\\ProgID", 4, false);
        StringValue("", ProductName(product) + ".Document." + std::to_string(1 + Below(3)), false);
      }
    }
    const uint64_t typeLibStop = stop + (keysLeft_ - stop) * 50 / 100;
    EmitKey(classes + "\\TypeLib", 2, false);
    while (keysLeft_ > typeLibStop + 5) {
      const std::string entry = classes + "\\TypeLib\\" + Guid();
      const uint64_t product = Below(products_);
      EmitKey(entry, 3, false);
      EmitKey(entry + "\\1.0", 4, false);
      StringValue("", ProductName(product) + " Type Library", false);
      EmitKey(entry + "\\1.0\\0", 5, false);
      EmitKey(entry + "\\1.0\\0\\win32", 6, false);
      StringValue("", ProductFolder(product) + ProductName(product) + ".exe", true);
      EmitKey(entry + "\\1.0\\FLAGS", 5, false);
      StringValue("", "0", false);
      StringValue("HELPDIR", ProductFolder(product), false);
    }
    EmitKey(classes + "\\Interface", 2, false);
    while (keysLeft_ > stop + 2) {
      const std::string entry = classes + "\\Interface\\" + Guid();
      EmitKey(entry, 3, false);
      StringValue("", "I" + ProductName(Below(products_)), false);
      EmitKey(entry + "\\ProxyStubClsid32", 4, false);
      StringValue("", Guid(), false);
    }
  }

  void Vendors(const std::string& software, uint64_t budget, uint32_t depth) {
    const uint64_t stop = keysLeft_ > budget ? keysLeft_ - budget : 0;
    uint64_t vendor = 0;
    while (keysLeft_ > stop) {
      const uint64_t size = std::min<uint64_t>(keysLeft_ - stop, 1 + Below(1200));
      RandomTree(software + "\\" + VendorName(vendor++), depth, size);
    }
  }

  void MachinePart(const std::string& software, uint64_t budget) {
    const uint64_t stop = keysLeft_ > budget ? keysLeft_ - budget : 0;
    EmitKey(software, 0, false);
    ClassRegistrations(software + "\\Classes", budget * 40 / 100);
    RandomTree(software + "\\Microsoft", 1, std::max<uint64_t>(1, budget * 15 / 100));
    Vendors(software, keysLeft_ > stop ? keysLeft_ - stop : 0, 1);
  }

  void UserPart(const std::string& root, uint64_t budget) {
    const uint64_t stop = keysLeft_ > budget ? keysLeft_ - budget : 0;
    EmitKey(root, 0, false);
    RandomTree(root + "\\Control Panel", 1, std::max<uint64_t>(1, budget * 5 / 100));
    RandomTree(root + "\\AppEvents", 1, std::max<uint64_t>(1, budget * 3 / 100));
    EmitKey(root + "\\Software", 1, false);
    Vendors(root + "\\Software", keysLeft_ > stop ? keysLeft_ - stop : 0, 2);
  }

  const SyntheticShape& shape_;
  SyntheticOutput& out_;
  uint64_t state_;
  uint64_t keysLeft_ = 0;
  uint64_t valuesLeft_ = 0;
  uint64_t products_ = 0;
  uint64_t systemFiles_ = 0;
  uint64_t pathValuesPending_ = 0;
  SyntheticSummary summary_;
};

}  // namespace

SyntheticSummary GenerateSyntheticRegistry(const SyntheticShape& shape, SyntheticOutput& out) {
  return Generator(shape, out).Run();
}

}  // namespace quillet::bench
