#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedUi.h"
#include "main/RegMain.h"
#include "platform/Platform.h"
#include "platform/memory/FixedClock.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedDesktop.h"
#include "platform/memory/ScriptedProcesses.h"
#include "platform/memory/ScriptedShell.h"
#include "platform/memory/ScriptedSystemRestore.h"
#include "platform/memory/Windows1252.h"
#include "scan/ScanContext.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"

namespace quillet::testing {

// Scanners a test sets per category code; the scan thread runs them instead of the real ones.
// Set them before the scan starts: the thread reads the table, nobody writes it meanwhile.
class ScriptedScanners {
 public:
  using Body = std::function<void(ScanContext&)>;
  static void Set(int code, Body body);
  static void Clear();
  static Scanner Find(int code);

  // Bodies used by many tests.
  static Body AddRows(int count, std::string prefix);
  static Body RunUntilStopped(std::atomic<bool>* started = nullptr);
  static Body Fail(std::string message);
};

// The main window on an in-memory platform, driven through the scripted UI.
class MainWindowFixture {
 public:
  MainWindowFixture();
  ~MainWindowFixture();

  // Makes the main window with this command line and shows it. Settings a test put into
  // OptionsSetting beforehand reach the window as a previous run's would: written into the
  // options file, which the window's creation then loads.
  TfrmQuillet& Open(std::vector<std::string> arguments = {});
  // The program started again: the window made anew over a fresh settings record, as a new
  // process has it, and the same file system.
  TfrmQuillet& Reopen(std::vector<std::string> arguments = {});
  TfrmQuillet& Window() { return *window_; }

  ui::TTreeNode& Node(int code);
  // Codes of the ticked nodes, in tree order.
  std::vector<int> TickedCodes();
  void ClickStateIcon(int code) { ui.ClickStateIcon(*window_->tvRegistry, Node(code)); }
  void UntickAll() { ClickStateIcon(1); }
  // Ticks exactly these categories (and whatever the tick rules add to them).
  void TickOnly(std::vector<int> codes);
  // Rows as "caption|key|value|action|ticked".
  std::vector<std::string> Rows();
  std::string FoundText() { return window_->StatusBar1->PanelText(0); }
  std::string TickedText() { return window_->StatusBar1->PanelText(1); }

  memory::MemoryRegistry reg;
  MemoryFileSystem fs;
  IniProfile profile{fs};
  ScriptedShell shell{&fs};
  FixedSystemInfo system;
  FixedClock clock;
  ScriptedSystemRestore restore;
  ScriptedProcesses processes;
  memory::Windows1252 ansi;
  ScriptedDesktop desktop;
  ScriptedUi ui;

 private:
  void SeedOptionsFile();

  ScopedPlatform platform_;
  std::unique_ptr<TfrmQuillet> window_;
};

}  // namespace quillet::testing
