#include "platform/memory/ScriptedDesktop.h"

#include "base/Utf16.h"

namespace quillet {
namespace {

const char* WindowName(WindowId window) {
  switch (window) {
    case ScriptedDesktop::kMain: return "main";
    case ScriptedDesktop::kTree: return "tree";
    case ScriptedDesktop::kList: return "list";
    default: return "none";
  }
}

const char* KeyName(NavigationKey key) {
  switch (key) {
    case NavigationKey::Left: return "Left";
    case NavigationKey::Right: return "Right";
    case NavigationKey::Down: return "Down";
  }
  return "?";
}

}  // namespace

ScriptedDesktop& ScriptedDesktop::running(bool open) {
  open_ = open;
  return *this;
}

ScriptedDesktop& ScriptedDesktop::appearsAtSearch(int n) {
  appearsAt_ = n;
  return *this;
}

ScriptedDesktop& ScriptedDesktop::neverAppears() { return appearsAtSearch(0); }

ScriptedDesktop& ScriptedDesktop::failStarts() {
  failStarts_ = true;
  return *this;
}

std::string ScriptedDesktop::Dump() const {
  std::string text;
  for (const std::string& entry : log_) text += entry + "\n";
  return text;
}

void ScriptedDesktop::Add(std::string entry) {
  log_.push_back(std::move(entry));
  typing_ = false;
}

WindowId ScriptedDesktop::FindTopLevelWindow(std::string_view className) {
  if (!open_ && started_ && appearsAt_ > 0 && ++searchesSinceStart_ >= appearsAt_) open_ = true;
  const WindowId found = open_ && className == "RegEdit_RegEdit" ? kMain : 0;
  Add("find " + std::string(className) + " -> " + WindowName(found));
  return found;
}

WindowId ScriptedDesktop::FindChildWindow(WindowId parent, std::string_view className) {
  WindowId found = 0;
  if (parent == kMain && className == "SysTreeView32") found = kTree;
  if (parent == kMain && className == "SysListView32") found = kList;
  Add("child " + std::string(className) + " -> " + WindowName(found));
  return found;
}

bool ScriptedDesktop::StartProgram(std::string_view file, unsigned waitMs) {
  Add("start " + std::string(file) + " wait " + std::to_string(waitMs));
  if (failStarts_) return false;
  started_ = true;
  searchesSinceStart_ = 0;
  return true;
}

void ScriptedDesktop::ShowMaximized(WindowId window) { Add(std::string("maximize ") + WindowName(window)); }

void ScriptedDesktop::SetForeground(WindowId window) { Add(std::string("foreground ") + WindowName(window)); }

void ScriptedDesktop::SendKeyDown(WindowId window, NavigationKey key) {
  // Runs of the same key are counted: "key tree Left x30".
  const std::string entry = std::string("key ") + WindowName(window) + " " + KeyName(key);
  if (!log_.empty() && (log_.back() == entry || log_.back().starts_with(entry + " x"))) {
    const size_t times = log_.back() == entry ? 1 : std::stoul(log_.back().substr(entry.size() + 2));
    log_.back() = entry + " x" + std::to_string(times + 1);
    typing_ = false;
    return;
  }
  Add(entry);
}

void ScriptedDesktop::SendChar(WindowId window, char16_t code) {
  const std::string prefix = std::string("chars ") + WindowName(window) + " ";
  if (!typing_ || !log_.back().starts_with(prefix)) Add(prefix);
  std::u16string unit(1, code);
  log_.back() += Utf16ToUtf8(unit);
  typing_ = true;
}

void ScriptedDesktop::Pause(unsigned milliseconds) { Add("pause " + std::to_string(milliseconds)); }

}  // namespace quillet
