#include "platform/memory/ScriptedShell.h"

#include "platform/FileSystem.h"
#include "platform/memory/ShellLinkReader.h"
#include "base/TextCompare.h"

namespace quillet {

ScriptedShell::ScriptedShell(FileSystem* files) : files_(files) {
  const std::string roaming = "C:\\Users\\User\\AppData\\Roaming";
  const std::string userStartMenu = roaming + "\\Microsoft\\Windows\\Start Menu";
  const std::string commonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
  folders_ = {
      {SpecialFolder::AppData, roaming},
      {SpecialFolder::Fonts, "C:\\Windows\\Fonts"},
      {SpecialFolder::Programs, userStartMenu + "\\Programs"},
      {SpecialFolder::CommonPrograms, commonStartMenu + "\\Programs"},
      {SpecialFolder::StartMenu, userStartMenu},
      {SpecialFolder::CommonStartMenu, commonStartMenu},
      {SpecialFolder::Desktop, "C:\\Users\\User\\Desktop"},
      {SpecialFolder::CommonDesktop, "C:\\Users\\Public\\Desktop"},
      {SpecialFolder::Recent, roaming + "\\Microsoft\\Windows\\Recent"},
      {SpecialFolder::Startup, userStartMenu + "\\Programs\\Startup"},
      {SpecialFolder::CommonStartup, commonStartMenu + "\\Programs\\Startup"},
      {SpecialFolder::Windows, "C:\\Windows"},
      {SpecialFolder::System, "C:\\Windows\\system32"},
      {SpecialFolder::ProgramFiles, "C:\\Program Files"},
  };
}

ScriptedShell& ScriptedShell::specialFolder(SpecialFolder folder, std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  folders_[folder] = std::move(path);
  return *this;
}

ScriptedShell& ScriptedShell::answerBrowse(std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  browseAnswers_.push_back(std::move(path));
  return *this;
}

ScriptedShell& ScriptedShell::shortcut(std::string_view shortcutPath, std::string_view target) {
  std::lock_guard lock(mutex_);
  shortcuts_[UpperCase(shortcutPath)] = std::string(target);
  return *this;
}

std::vector<std::string> ScriptedShell::BrowseTitles() const {
  std::lock_guard lock(mutex_);
  return browseTitles_;
}

std::vector<std::string> ScriptedShell::OpenedDocuments() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

std::vector<std::string> ScriptedShell::DeletedFiles() const {
  std::lock_guard lock(mutex_);
  return deleted_;
}

std::optional<std::string> ScriptedShell::GetSpecialFolder(SpecialFolder folder) {
  std::lock_guard lock(mutex_);
  auto found = folders_.find(folder);
  return found == folders_.end() ? std::nullopt : found->second;
}

bool ScriptedShell::BrowseForFolder(std::string_view title, std::string& path) {
  std::lock_guard lock(mutex_);
  browseTitles_.emplace_back(title);
  if (browseAnswers_.empty()) return false;
  std::optional<std::string> answer = std::move(browseAnswers_.front());
  browseAnswers_.pop_front();
  if (!answer) return false;
  path = *answer;
  return true;
}

bool ScriptedShell::DeleteFileSilently(std::string_view path) {
  std::lock_guard lock(mutex_);
  if (!files_ || !files_->DeleteFile(path)) return false;
  deleted_.emplace_back(path);
  return true;
}

bool ScriptedShell::OpenDocument(std::string_view target) {
  std::lock_guard lock(mutex_);
  opened_.emplace_back(target);
  return true;
}

std::string ScriptedShell::ResolveShortcutTarget(std::string_view shortcutPath) {
  std::lock_guard lock(mutex_);
  auto found = shortcuts_.find(UpperCase(shortcutPath));
  if (found != shortcuts_.end()) return found->second;
  if (!files_) return {};
  std::optional<std::string> bytes = files_->ReadFile(shortcutPath);
  return bytes ? ReadShellLinkTarget(*bytes) : std::string();
}

}  // namespace quillet
