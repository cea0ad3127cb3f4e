// The shipped language files held against the windows: the English file carries every text of
// every window as designed, every other file the same keys and no others, and no translation
// gives two entries of one menu or window the same access key.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "TranslatableForms.h"
#include "base/Utf16.h"
#include "settings/FormTexts.h"
#include "settings/LanguageMenu.h"
#include "settings/ResourceStrings.h"
#include "base/TextCompare.h"

namespace quillet::testing {
namespace {

constexpr const char* kShippedFolder = "C:\\Program Files\\Quillet\\Languages\\";
constexpr const char* kMissing = "\x01";

struct Key {
  std::string section;
  std::string key;
  // Sections and keys are found without regard to case.
  bool operator<(const Key& other) const {
    return std::pair(UpperCase(section), UpperCase(key)) < std::pair(UpperCase(other.section), UpperCase(other.key));
  }
};

std::string Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return std::string(text);
}

struct ShippedFile {
  std::string name;   // "Lan_German.ini"
  std::string bytes;  // as shipped
  std::vector<Key> keys;  // in file order, duplicates kept
  std::map<Key, std::string> values;  // as the profile functions give them: one pair of quotes stripped
};

ShippedFile Load(const std::filesystem::path& path) {
  ShippedFile file{path.filename().string()};
  std::ifstream in(path, std::ios::binary);
  file.bytes.assign(std::istreambuf_iterator<char>(in), {});
  const auto* data = reinterpret_cast<const uint8_t*>(file.bytes.data());
  const std::string text = file.bytes.starts_with("\xFF\xFE") ? Utf8FromUtf16Le(data + 2, file.bytes.size() - 2, false) : "";
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trimmed(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
    } else if (size_t equals = line.find('='); equals != std::string::npos) {
      file.keys.push_back({section, Trimmed(line.substr(0, equals))});
      std::string value = Trimmed(line.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      file.values.emplace(file.keys.back(), std::move(value));
    }
  }
  return file;
}

std::vector<ShippedFile> ShippedFiles() {
  std::vector<ShippedFile> files;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLET_LANGUAGE_DIR)) {
    if (entry.path().extension() == ".ini") files.push_back(Load(entry.path()));
  }
  std::sort(files.begin(), files.end(), [](const ShippedFile& a, const ShippedFile& b) { return a.name < b.name; });
  return files;
}

// The access key of a caption: the character after a single "&", upper-cased; empty for none.
std::string AccessKey(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t next = i + 1;
    NextCodePoint(caption, next);
    return UpperCase(caption.substr(i + 1, next - i - 1));
  }
  return {};
}

std::string Line(const Key& key, const std::string& value) { return "[" + key.section + "] " + key.key + "=" + value; }

// The windows as they open, with the shipped files where the program looks for them.
class LanguageFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files = ShippedFiles();
    for (const ShippedFile& file : files) fixture.fs.file(std::string(kShippedFolder) + file.name, file.bytes);
    fixture.Open();
    for (const TranslatableForm& entry : TranslatableForms()) {
      std::unique_ptr<ui::TForm> form = entry.make(fixture);
      EXPECT_EQ(form->Name(), entry.name);
      for (FormText& text : TranslatableTexts(*form)) {
        if (text.text.empty() || entry.builtWhenShown.count(text.key)) continue;
        designed.emplace(Key{text.section, text.key}, text);
      }
    }
  }

  std::string Read(const ShippedFile& file, const Key& key) {
    return fixture.profile.ReadString(std::string(kShippedFolder) + file.name, key.section, key.key, kMissing);
  }
  const ShippedFile& English() {
    for (const ShippedFile& file : files) {
      if (file.name == "Lan_English.ini") return file;
    }
    throw std::runtime_error("no Lan_English.ini shipped");
  }

  MainWindowFixture fixture;
  std::vector<ShippedFile> files;
  std::map<Key, FormText> designed;  // every text a language file should carry
};

TEST_F(LanguageFilesTest, EveryLanguageOfTheMenuShipsAsUtf16WithAByteOrderMark) {
  std::set<std::string> names;
  for (const ShippedFile& file : files) {
    names.insert(file.name);
    EXPECT_TRUE(file.bytes.starts_with("\xFF\xFE")) << file.name << " is not UTF-16LE with a byte-order mark";
    EXPECT_EQ(file.bytes.find("\xEF\xBF\xBD"), std::string::npos) << file.name;
  }
  for (const LanguageMenuItem& item : LanguageMenuItems()) {
    const std::string language = LanguageOfMenuItem(item.name);
    if (language.empty() || language == "Other") continue;
    EXPECT_TRUE(names.count("Lan_" + language + ".ini")) << "Lan_" << language << ".ini is not shipped";
  }
}

// A file that mostly repeats the English texts is an untranslated copy. Registry paths, product
// names and a few words that read the same in many languages stay as they are, far below half.
TEST_F(LanguageFilesTest, NoTranslationIsMostlyACopyOfTheEnglishFile) {
  const ShippedFile& english = English();
  for (const ShippedFile& file : files) {
    if (file.name == english.name) continue;
    int same = 0;
    for (const Key& key : english.keys) same += file.values.count(key) && file.values.at(key) == english.values.at(key);
    EXPECT_LT(same * 2, static_cast<int>(english.keys.size()))
        << file.name << " repeats " << same << " of the " << english.keys.size() << " English texts";
  }
}

TEST_F(LanguageFilesTest, TheEnglishFileHoldsEveryTextOfEveryWindowAsDesignedAndNothingElse) {
  const ShippedFile& english = English();
  std::string missing;
  for (const auto& [key, text] : designed) {
    const std::string value = Read(english, key);
    if (value == kMissing) {
      missing += "\n  " + Line(key, text.text);
    } else {
      EXPECT_EQ(value, text.text) << Line(key, "") << " differs from the window's design";
    }
  }
  EXPECT_TRUE(missing.empty()) << "Lan_English.ini lacks (in lang/, quote a text that ends in a blank):" << missing;

  std::set<std::string> resourceKeys;
  for (const char* key : ResourceStringKeys()) resourceKeys.insert(UpperCase(key));
  std::set<std::string> resourceKeysInFile;
  for (const Key& key : english.keys) {
    if (SameText(key.section, "ResourceString")) {
      EXPECT_TRUE(resourceKeys.count(UpperCase(key.key))) << "no text of the program is looked up as " << key.key;
      resourceKeysInFile.insert(UpperCase(key.key));
      EXPECT_NE(Read(english, key), "") << key.key;
    } else {
      EXPECT_TRUE(designed.count(key)) << Line(key, "") << ": no window has this text";
    }
  }
  EXPECT_EQ(resourceKeysInFile, resourceKeys) << "the [ResourceString] section must hold every runtime text";
}

TEST_F(LanguageFilesTest, EveryFileHasTheKeysOfTheEnglishFileOnceAndNoOthers) {
  std::set<Key> englishKeys(English().keys.begin(), English().keys.end());
  for (const ShippedFile& file : files) {
    SCOPED_TRACE(file.name);
    std::set<Key> keys;
    for (const Key& key : file.keys) {
      EXPECT_TRUE(keys.insert(key).second) << Line(key, "") << " appears twice";
      EXPECT_TRUE(englishKeys.count(key)) << Line(key, "") << " is not in Lan_English.ini";
    }
    for (const Key& key : englishKeys) EXPECT_TRUE(keys.count(key)) << Line(key, "") << " is missing";
  }
}

// The Language menu is left out: it lists 34 languages, more than any alphabet has access keys,
// and its English captions already share some.
TEST_F(LanguageFilesTest, NoTranslationRepeatsAnAccessKeyInOneMenuOrWindowOrDropsOne) {
  for (const ShippedFile& file : files) {
    if (file.name == "Lan_English.ini") continue;
    SCOPED_TRACE(file.name);
    std::map<std::string, std::map<std::string, std::string>> used;  // group → access key → key name
    for (const auto& [key, text] : designed) {
      if (text.accessGroup.empty() || text.accessGroup == "miLanguage") continue;
      const auto found = file.values.find(key);
      if (found == file.values.end()) continue;
      const std::string& value = found->second;
      const std::string accessKey = AccessKey(value);
      if (accessKey.empty()) {
        EXPECT_TRUE(AccessKey(text.text).empty()) << Line(key, value) << " lost the access key of \"" << text.text << '"';
        continue;
      }
      auto [it, inserted] = used[text.accessGroup].emplace(accessKey, key.key);
      EXPECT_TRUE(inserted) << Line(key, value) << " has the access key of " << it->second;
    }
  }
}

}  // namespace
}  // namespace quillet::testing
