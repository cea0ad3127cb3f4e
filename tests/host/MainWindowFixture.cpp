#include "MainWindowFixture.h"

#include <array>
#include <chrono>
#include <thread>

#include "main/SystemPiont.h"
#include "platform/RegistryStore.h"
#include "settings/OptionsFile.h"

namespace quillet::testing {
namespace {

std::map<int, ScriptedScanners::Body>& Bodies() {
  static std::map<int, ScriptedScanners::Body> bodies;
  return bodies;
}

template <int Code>
void RunBody(ScanContext& context) {
  Bodies().at(Code)(context);
}

template <int... Codes>
constexpr std::array<Scanner, sizeof...(Codes)> MakeTrampolines(std::integer_sequence<int, Codes...>) {
  return {&RunBody<Codes>...};
}
constexpr auto kTrampolines = MakeTrampolines(std::make_integer_sequence<int, 25>{});

Platform MakePlatform(MainWindowFixture& fixture) {
  Platform platform;
  platform.registry = &fixture.reg;
  platform.files = &fixture.fs;
  platform.profile = &fixture.profile;
  platform.shell = &fixture.shell;
  platform.system = &fixture.system;
  platform.clock = &fixture.clock;
  platform.restore = &fixture.restore;
  platform.processes = &fixture.processes;
  platform.ansi = &fixture.ansi;
  platform.desktop = &fixture.desktop;
  return platform;
}

}  // namespace

void ScriptedScanners::Set(int code, Body body) { Bodies()[code] = std::move(body); }
void ScriptedScanners::Clear() { Bodies().clear(); }
Scanner ScriptedScanners::Find(int code) {
  return Bodies().count(code) ? kTrampolines.at(static_cast<size_t>(code)) : nullptr;
}

ScriptedScanners::Body ScriptedScanners::AddRows(int count, std::string prefix) {
  return [count, prefix](ScanContext& context) {
    for (int i = 1; i <= count; ++i) {
      context.ShowScannedKey("Software\\" + prefix + std::to_string(i));
      context.AddRow("HKEY_LOCAL_MACHINE\\Software\\" + prefix + std::to_string(i), "v" + std::to_string(i),
                     RepairAction::DeleteKey);
    }
  };
}

ScriptedScanners::Body ScriptedScanners::RunUntilStopped(std::atomic<bool>* started) {
  return [started](ScanContext& context) {
    if (started) *started = true;
    while (true) {
      context.ThrowIfStopped();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
}

ScriptedScanners::Body ScriptedScanners::Fail(std::string message) {
  return [message](ScanContext&) { throw RegistryError(message); };
}

MainWindowFixture::MainWindowFixture() : platform_(MakePlatform(*this)) {
  OptionsSetting = TOptionsSetting();
  fs.fixedDrive('c');
  ScriptedScanners::Clear();
}

MainWindowFixture::~MainWindowFixture() {
  window_.reset();
  // A restore point dialog closed early leaves its worker running until the client answers.
  restore.Release();
  while (TCreateSystemPointThread::Running() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ScriptedScanners::Clear();
  OptionsSetting = TOptionsSetting();
}

void MainWindowFixture::SeedOptionsFile() {
  const TOptionsSetting defaults;
  const TOptionsSetting& wanted = OptionsSetting;
  struct Key {
    const char* section;
    std::string key;
    std::string value;
  };
  std::vector<Key> keys;
  auto add = [&keys](bool differs, const char* section, std::string key, std::string value) {
    if (differs) keys.push_back({section, std::move(key), std::move(value)});
  };
  auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  add(wanted.OutputDirectory != defaults.OutputDirectory, "Options", "OutputDirectory", wanted.OutputDirectory);
  add(wanted.DeleteBackupFile != defaults.DeleteBackupFile, "Options", "DeleteBackupFile", flag(wanted.DeleteBackupFile));
  add(wanted.IncludeRemoveMedia != defaults.IncludeRemoveMedia, "Options", "IncludeRemoveMedia",
      flag(wanted.IncludeRemoveMedia));
  add(wanted.IncludeCDdrive != defaults.IncludeCDdrive, "Options", "IncludeCDdrive", flag(wanted.IncludeCDdrive));
  add(wanted.Beep != defaults.Beep, "Options", "Beep", flag(wanted.Beep));
  for (size_t node = 1; node <= 24; ++node) {
    add(wanted.TreeNodeChecks[node] != defaults.TreeNodeChecks[node], "TreeViewNodeCheck", std::to_string(node),
        flag(wanted.TreeNodeChecks[node]));
  }
  add(wanted.IgnoreValueCount != 0, "IgnoreValue", "Count", std::to_string(wanted.IgnoreValueCount));
  for (size_t i = 0; i < wanted.IgnoreValues.size(); ++i) {
    add(true, "IgnoreValue", "Value" + std::to_string(i + 1), wanted.IgnoreValues[i]);
  }
  add(wanted.IgnoreKeyCount != 0, "IgnoreKey", "Count", std::to_string(wanted.IgnoreKeyCount));
  for (size_t i = 0; i < wanted.IgnoreKeys.size(); ++i) {
    add(true, "IgnoreKey", "Key" + std::to_string(i + 1), wanted.IgnoreKeys[i]);
  }
  add(wanted.WindowState == TWindowState::Maximized, "Window", "State", "3");
  add(wanted.WindowLeft != defaults.WindowLeft, "Window", "Left", std::to_string(wanted.WindowLeft));
  add(wanted.WindowTop != defaults.WindowTop, "Window", "Top", std::to_string(wanted.WindowTop));
  add(wanted.ShowHint != defaults.ShowHint, "Options", "ShowHint", flag(wanted.ShowHint));
  add(wanted.RestorePoint != defaults.RestorePoint, "Options", "RestorePoint", flag(wanted.RestorePoint));
  add(wanted.Lan != defaults.Lan, "Options", "Lan", wanted.Lan);
  if (keys.empty()) return;
  const std::string file = LocateOptionsFile();
  for (const Key& key : keys) profile.WriteString(file, key.section, key.key, key.value);
}

TfrmQuillet& MainWindowFixture::Open(std::vector<std::string> arguments) {
  SeedOptionsFile();
  window_ = std::make_unique<TfrmQuillet>(ui, std::move(arguments));
  window_->PrepareScan = [](TScanTaskThread& thread) { thread.ScannerFor = ScriptedScanners::Find; };
  ui.ShowMain(*window_);
  return *window_;
}

TfrmQuillet& MainWindowFixture::Reopen(std::vector<std::string> arguments) {
  window_.reset();
  OptionsSetting = TOptionsSetting();
  return Open(std::move(arguments));
}

ui::TTreeNode& MainWindowFixture::Node(int code) {
  for (ui::TTreeNode* node : window_->tvRegistry->Nodes()) {
    if (node->ImageIndex() == code) return *node;
  }
  throw std::out_of_range("no category node " + std::to_string(code));
}

std::vector<int> MainWindowFixture::TickedCodes() {
  std::vector<int> codes;
  for (ui::TTreeNode* node : window_->tvRegistry->Nodes()) {
    if (node->StateIndex() == 2) codes.push_back(node->ImageIndex());
  }
  return codes;
}

void MainWindowFixture::TickOnly(std::vector<int> codes) {
  UntickAll();
  for (int code : codes) ClickStateIcon(code);
}

std::vector<std::string> MainWindowFixture::Rows() {
  std::vector<std::string> rows;
  const TProblemList& list = *window_->lvRegistryData;
  for (size_t i = 0; i < list.Count(); ++i) {
    const ProblemEntry& row = list.Item(i);
    rows.push_back(row.problem + "|" + row.keyPath + "|" + row.value + "|" + std::to_string(static_cast<int>(row.action)) +
                   "|" + (row.checked ? "ticked" : "unticked"));
  }
  return rows;
}

}  // namespace quillet::testing
