#include "settings/LanguageMenu.h"

#include <array>

namespace quillet {
namespace {

constexpr std::array<LanguageMenuItem, 35> kLanguageMenu{{
    {"miAfrikaans", "&Afrikaans"},
    {"miArabic", "Arabic"},
    {"miBrazilianPortuguese", "&Brazilian Portuguese"},
    {"miBulgarian", "Bulgarian"},
    {"miCatalan", "Catalan"},
    {"miCzech", "C&zech"},
    {"miDanish", "&Danish"},
    {"miNederlands", "Dut&ch"},
    {"miEnglish", "&English"},
    {"miFinnish", "&Finnish"},
    {"miFrench", "Frenc&h"},
    {"miGerman", "&German"},
    {"miGreek", "Greek"},
    {"miHrvatski", "Hr&vatski"},
    {"miHungary", "H&ungary"},
    {"miItalian", "&Italian"},
    {"miJapanese", "&Japanese"},
    {"miKorean", "&Korean"},
    {"miKurdish", "K&urdish"},
    {"miLithuanian", "&Lithuanian"},
    {"miMalay", "&Malay"},
    {"miNorwegian", "Nor&wegian"},
    {"miPolish", "&Polish"},
    {"miPortuguesePT", "Portuguese-PT"},
    {"miRomanian", "&Romanian"},
    {"miRussian", "R&ussian"},
    {"miSerbian", "Serbia&n"},
    {"miChinese", "Simplified &Chinese"},
    {"miSlovenian", "Slovenian"},
    {"miSpanish", "&Spanish"},
    {"miSwedish", "Swedish"},
    {"miTraditionalChinese", "Traditional Chinese"},
    {"miTurkish", "&Turkish"},
    {"mlOther", "-"},
    {"miOther", "&Other"},
}};

}  // namespace

std::span<const LanguageMenuItem> LanguageMenuItems() { return kLanguageMenu; }

std::string LanguageOfMenuItem(const std::string& componentName) {
  return componentName.size() > 2 ? componentName.substr(2) : std::string();
}

}  // namespace quillet
