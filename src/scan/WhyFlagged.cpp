#include "scan/WhyFlagged.h"

#include <array>

#include "settings/RegGlobal.h"

namespace quillet {
namespace {

struct WhyText {
  Why kind;
  const char* key;
  const char* english;
};

constexpr std::array<WhyText, kWhyKinds> kWhyTexts{{
    {Why::MissingFile, "RES_Why_Missing_File", "%s does not exist"},
    {Why::EmptyCommand, "RES_Why_Empty_Command", "the command line is empty"},
    {Why::EmptyKey, "RES_Why_Empty_Key", "holds no values, and no subkey holds any"},
    {Why::EmptyDefault, "RES_Why_Empty_Default", "holds nothing but an empty default value"},
    {Why::UnusedSharedDll, "RES_Why_Unused_Shared_Dll", "no program uses this shared file any more (use count 0)"},
    {Why::AppIdNotRegistered, "RES_Why_AppID_Not_Registered", "application ID %s is not registered"},
    {Why::TypeLibNotRegistered, "RES_Why_TypeLib_Not_Registered", "type library %s is not registered"},
    {Why::NoTypeLib, "RES_Why_No_TypeLib", "names no type library"},
    {Why::NotInstalled, "RES_Why_Not_Installed", "%s is no longer an installed program"},
    {Why::NoUninstaller, "RES_Why_No_Uninstaller", "has no uninstall command"},
    {Why::NoMenuFolder, "RES_Why_No_Menu_Folder", "the Start menu has no folder %s"},
    {Why::ShortcutTarget, "RES_Why_Shortcut_Target", "the target %s does not exist"},
    {Why::NeverRun, "RES_Why_Never_Run", "its run count is 0"},
}};

}  // namespace

WhyWordings::WhyWordings() {
  for (const WhyText& text : kWhyTexts) wordings_.at(static_cast<size_t>(text.kind)) = GetLangText(text.key, text.english);
}

std::string WhyWordings::Format(Why kind, std::string_view subject) const {
  std::string wording = wordings_.at(static_cast<size_t>(kind));
  // A translation without the placeholder still reads as a sentence; the subject is dropped.
  const size_t placeholder = wording.find("%s");
  if (placeholder != std::string::npos) wording.replace(placeholder, 2, subject);
  return wording;
}

}  // namespace quillet
