#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Shell.h"

namespace quillet {

class FileSystem;

// The shell for host tests: special folders from a map (a Windows 7 system on C: with the user
// "User" unless told otherwise), folder-picker answers from a queue, silent deletes through a
// file system, and a record of what was opened and asked. Shortcut targets come from the
// scripted map, else from the bytes of the ".lnk" file in the file system.
class ScriptedShell : public Shell {
 public:
  explicit ScriptedShell(FileSystem* files = nullptr);

  // Builder.
  ScriptedShell& specialFolder(SpecialFolder folder, std::optional<std::string> path);
  // The next folder-picker call returns this path, or cancels when it is empty. With nothing
  // queued the picker cancels.
  ScriptedShell& answerBrowse(std::optional<std::string> path);
  // A target for a shortcut path, whatever the file system holds there.
  ScriptedShell& shortcut(std::string_view shortcutPath, std::string_view target);

  // Titles the folder picker was shown with, in order.
  std::vector<std::string> BrowseTitles() const;
  std::vector<std::string> OpenedDocuments() const;
  std::vector<std::string> DeletedFiles() const;

  std::optional<std::string> GetSpecialFolder(SpecialFolder folder) override;
  bool BrowseForFolder(std::string_view title, std::string& path) override;
  bool DeleteFileSilently(std::string_view path) override;
  bool OpenDocument(std::string_view target) override;
  std::string ResolveShortcutTarget(std::string_view shortcutPath) override;

 private:
  mutable std::mutex mutex_;
  FileSystem* files_;
  std::map<SpecialFolder, std::optional<std::string>> folders_;
  std::deque<std::optional<std::string>> browseAnswers_;
  std::map<std::string, std::string> shortcuts_;  // upper-case path → target
  std::vector<std::string> browseTitles_;
  std::vector<std::string> opened_;
  std::vector<std::string> deleted_;
};

}  // namespace quillet
