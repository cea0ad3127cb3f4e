#include "platform/memory/RegFileReader.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "base/KeyPath.h"
#include "base/Utf16.h"

namespace quillet::memory {
namespace {

constexpr std::string_view kVersion4Header = "REGEDIT4";
constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
// The registry holds keys up to 512 levels below a root; a deeper path cannot come from it.
constexpr size_t kDeepestKeyLevel = 512;

std::string_view TrimLeft(std::string_view text) {
  size_t start = text.find_first_not_of(" \t");
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  size_t end = text.find_last_not_of(" \t\r");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to maxDigits hexadecimal digits and nothing else.
std::optional<uint32_t> ParseHex(std::string_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

std::string Shortened(std::string_view text) {
  constexpr size_t kShown = 40;
  return text.size() <= kShown ? std::string(text) : std::string(text.substr(0, kShown)) + "...";
}

std::nullopt_t Fail(std::string& problem, std::string text) {
  problem = std::move(text);
  return std::nullopt;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

class Loader {
 public:
  Loader(AnsiCodePage& ansi, MemoryRegistry& registry, std::vector<RegFileSection>* sections)
      : ansi_(ansi), registry_(registry), sections_(sections) {}

  std::vector<RegFileProblem> Load(std::string_view fileBytes) {
    std::string text;
    if (fileBytes.starts_with("\xFF\xFE")) {
      fileBytes.remove_prefix(2);
      text = Utf8FromUtf16Le(reinterpret_cast<const uint8_t*>(fileBytes.data()), fileBytes.size(), false);
    } else {
      text = ansi_.ToUtf8(fileBytes);
    }
    lines_ = SplitLines(text);
    const std::string_view header = Trim(lines_.front());
    if (header != kVersion4Header && header != kVersion5Header) {
      Report(1, "not a registry file: the first line is neither \"REGEDIT4\" nor \"Windows Registry Editor "
                "Version 5.00\"");
      return std::move(problems_);
    }
    ansiStrings_ = header == kVersion4Header;
    for (index_ = 1; index_ < lines_.size(); ++index_) ParseLine();
    return std::move(problems_);
  }

 private:
  // After a key line that failed or deleted a key, its value lines are passed over quietly.
  enum class State { NoKey, Key, SkipValues };

  int LineNumber() const { return static_cast<int>(index_) + 1; }
  void Report(int line, std::string message) { problems_.push_back({line, std::move(message)}); }
  void Report(std::string message) { Report(LineNumber(), std::move(message)); }

  void ParseLine() {
    std::string_view line = Trim(lines_[index_]);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') return ParseKeyLine(line);
    if (line.front() == '"' || line.front() == '@') return ParseValueLine(line);
    Report("unexpected line \"" + Shortened(line) + "\"");
  }

  void ParseKeyLine(std::string_view line) {
    state_ = State::SkipValues;
    if (!line.ends_with(']') || line.size() < 2) return Report("key line without a closing \"]\"");
    std::string_view inner = line.substr(1, line.size() - 2);
    const bool remove = inner.starts_with('-');
    if (remove) inner.remove_prefix(1);
    const size_t separator = inner.find('\\');
    const std::string_view rootName = inner.substr(0, separator);
    auto root = ParseRootName(rootName);
    if (!root) return Report("unknown root key \"" + Shortened(rootName) + "\"");
    const std::string_view path = separator == std::string_view::npos ? std::string_view() : inner.substr(separator + 1);
    if (SplitKeyPath(path).size() > kDeepestKeyLevel) {
      return Report("key \"" + Shortened(inner) + "\" is deeper than the " + std::to_string(kDeepestKeyLevel) +
                    " levels the registry allows");
    }
    if (remove) {
      if (path.find_first_not_of('\\') == std::string_view::npos) return Report("a root key cannot be deleted");
      registry_.RemoveKeyTree(*root, path);
      return;
    }
    root_ = *root;
    path_ = std::string(path);
    key_.emplace(registry_.key(std::string(RootName(*root)) + "\\" + path_));
    state_ = State::Key;
    if (sections_) sections_->push_back({LineNumber(), root_, path_});
  }

  // A quoted text from text[pos] (the opening quote) with \\ and \" unescaped; pos ends past
  // the closing quote. Any other backslash is kept as it stands.
  static std::optional<std::string> ParseQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
      char c = text[pos];
      if (c == '"') {
        ++pos;
        return out;
      }
      if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) c = text[++pos];
      out += c;
    }
    return std::nullopt;
  }

  void ParseValueLine(std::string_view line) {
    const int firstLine = LineNumber();
    std::string name;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      auto quoted = ParseQuoted(line, pos);
      if (!quoted) return Report("value name without a closing quote");
      name = std::move(*quoted);
    }
    std::string_view rest = TrimLeft(line.substr(pos));
    if (!rest.starts_with('=')) return Report("\"=\" expected after the value name");
    std::string data(TrimLeft(rest.substr(1)));
    if (data.starts_with("hex") && !JoinContinuations(data)) return Report(firstLine, "hex data continues past the end of the file");

    if (state_ == State::NoKey) return Report(firstLine, "value line before any key line");
    if (state_ == State::SkipValues) return;
    if (data == "-") {
      registry_.RemoveValue(root_, path_, name);
      return;
    }
    std::string problem;
    if (auto value = ParseData(data, problem)) {
      key_->raw(name, value->type, std::move(value->data));
    } else {
      Report(firstLine, problem);
    }
  }

  // Hex data goes on over the following lines while a line ends with "\".
  bool JoinContinuations(std::string& data) {
    while (data.ends_with('\\')) {
      data.pop_back();
      if (index_ + 1 >= lines_.size()) return false;
      ++index_;
      data += Trim(lines_[index_]);
    }
    return true;
  }

  std::optional<RegistryValue> ParseData(std::string_view data, std::string& problem) {
    if (data.starts_with('"')) {
      size_t pos = 0;
      auto text = ParseQuoted(data, pos);
      if (!text) return Fail(problem, "string without a closing quote");
      if (pos != data.size()) return Fail(problem, "text after the closing quote");
      return RegistryValue{{}, regtype::kString, Utf16LeBytes(*text)};
    }
    if (data.starts_with("dword:")) {
      auto number = ParseHex(data.substr(6), 8);
      if (!number) return Fail(problem, "dword needs 1 to 8 hexadecimal digits");
      std::vector<uint8_t> bytes(4);
      for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(*number >> (8 * i));
      return RegistryValue{{}, regtype::kDword, std::move(bytes)};
    }
    uint32_t type = regtype::kBinary;
    std::string_view list;
    if (data.starts_with("hex:")) {
      list = data.substr(4);
    } else if (data.starts_with("hex(")) {
      const size_t close = data.find("):");
      auto number = close == std::string_view::npos ? std::nullopt : ParseHex(data.substr(4, close - 4), 8);
      if (!number) return Fail(problem, "hex(N) needs 1 to 8 hexadecimal digits and \"):\"");
      type = *number;
      list = data.substr(close + 2);
    } else {
      return Fail(problem, "unknown data \"" + Shortened(data) + "\"");
    }
    auto bytes = ParseByteList(list, problem);
    if (!bytes) return std::nullopt;
    if (ansiStrings_ && (type == regtype::kString || type == regtype::kExpandString || type == regtype::kMultiString)) {
      const std::string ansiText(bytes->begin(), bytes->end());
      *bytes = Utf16LeBytes(ansi_.ToUtf8(ansiText), false);
    }
    return RegistryValue{{}, type, std::move(*bytes)};
  }

  // "00,1a,FF", spaces allowed around the bytes; one trailing comma is tolerated.
  static std::optional<std::vector<uint8_t>> ParseByteList(std::string_view list, std::string& problem) {
    std::vector<uint8_t> bytes;
    list = Trim(list);
    if (list.empty()) return bytes;
    if (list.ends_with(',')) list.remove_suffix(1);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(',', start);
      if (end == std::string_view::npos) end = list.size();
      const std::string_view token = Trim(list.substr(start, end - start));
      auto byte = ParseHex(token, 2);
      if (!byte) return Fail(problem, "byte \"" + Shortened(token) + "\" is not 1 or 2 hexadecimal digits");
      bytes.push_back(static_cast<uint8_t>(*byte));
      start = end + 1;
    }
    return bytes;
  }

  AnsiCodePage& ansi_;
  MemoryRegistry& registry_;
  std::vector<RegFileSection>* sections_;
  std::vector<std::string_view> lines_;
  size_t index_ = 0;
  bool ansiStrings_ = false;
  State state_ = State::NoKey;
  RootKey root_ = RootKey::CurrentUser;
  std::string path_;
  std::optional<KeyBuilder> key_;
  std::vector<RegFileProblem> problems_;
};

}  // namespace

std::string Describe(const RegFileProblem& problem) {
  return "line " + std::to_string(problem.line) + ": " + problem.message;
}

std::vector<RegFileProblem> ReadRegFile(std::string_view fileBytes, AnsiCodePage& ansi, MemoryRegistry& registry,
                                        std::vector<RegFileSection>* sections) {
  return Loader(ansi, registry, sections).Load(fileBytes);
}

std::vector<RegFileProblem> ReadRegFileFromPath(const std::string& path, AnsiCodePage& ansi,
                                                MemoryRegistry& registry) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {{0, "cannot open \"" + path + "\""}};
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return {{0, "cannot read \"" + path + "\""}};
  return ReadRegFile(bytes, ansi, registry);
}

}  // namespace quillet::memory
