// The main window's commands on rows of the problem list: ticks by kind, the ignore lists, the
// text report and the registry editor.
#include <optional>
#include <string>
#include <vector>

#include "base/AppIdentity.h"
#include "ui/ErrorBox.h"
#include "main/IgnoreListEntry.h"
#include "main/ProblemListRows.h"
#include "main/RegEditNavigation.h"
#include "main/RegMain.h"
#include "main/TextReport.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/IgnoreEntryText.h"
#include "settings/OptionsSetting.h"

namespace quillet {
namespace {

constexpr const char* kNotFoundMessage = "Please check whether the registry key or value exist.";

// The first selected row is the one at the top; a command with none selected has nothing to do.
bool FirstSelectedRow(const TProblemList& list, ProblemEntry& row) {
  const int first = list.FirstSelected();
  if (first < 0) return false;
  row = ProblemRowAt(list, static_cast<size_t>(first));
  return true;
}

void TickRowsOfKind(TProblemList& list, bool tick) {
  ProblemEntry first;
  if (!FirstSelectedRow(list, first)) return;
  TickProblemRows(list, [&first](const ProblemEntry& row) { return row.problem == first.problem; }, tick);
}

}  // namespace

void TfrmQuillet::aSelectNoneExecute() {
  lvRegistryData->SetAllChecked(false);
  UpdateProblemCounts();
}

void TfrmQuillet::aSelectAllTypeExecute() {
  TickRowsOfKind(*lvRegistryData, true);
  UpdateProblemCounts();
}

void TfrmQuillet::aSelectNoneTypeExecute() {
  TickRowsOfKind(*lvRegistryData, false);
  UpdateProblemCounts();
}

void TfrmQuillet::aSelectAllTypeUpdate() {
  const bool selected = lvRegistryData->SelectedCount() > 0;
  aSelectAllType->Enabled = selected;
  aSelectNoneType->Enabled = selected;
}

void TfrmQuillet::aSaveTextUpdate() { aSaveText->Enabled = lvRegistryData->Count() > 0; }

void TfrmQuillet::aOpenRegeditUpdate() {
  ProblemEntry first;
  const bool enabled = FirstSelectedRow(*lvRegistryData, first) && first.action != RepairAction::DeleteFile;
  aIgnoreListAdd->Enabled = enabled;
  aOpenRegedit->Enabled = enabled;
}

bool TfrmQuillet::IsInIgnoreList(const std::string& entry, bool inKeys) const {
  return quillet::IsInIgnoreList(inKeys ? OptionsSetting.IgnoreKeys : OptionsSetting.IgnoreValues, entry);
}

void TfrmQuillet::aIgnoreListAddExecute() {
  TProblemList& list = *lvRegistryData;
  if (list.SelectedCount() == 0) return;
  std::vector<bool> consumed(list.Count(), false);
  bool refused = false;
  // From the last row to the first, as every walk that removes rows goes.
  for (size_t i = list.Count(); i-- > 0;) {
    if (!list.Item(i).selected) continue;
    const ProblemEntry row = ProblemRowAt(list, i);
    if (row.keyPath.find('\\') == std::string::npos) continue;
    const std::optional<IgnoreListEntry> entry = IgnoreEntryOfRow(row);
    if (!entry) continue;
    if (!entry->none) {
      if (IsInIgnoreList(entry->text, entry->inKeys)) continue;
      // An entry options.ini would not give back as it is stays out, and so does its row.
      if (!CanKeepIgnoreEntry(entry->text)) {
        refused = true;
        continue;
      }
      std::vector<std::string>& entries = entry->inKeys ? OptionsSetting.IgnoreKeys : OptionsSetting.IgnoreValues;
      int& count = entry->inKeys ? OptionsSetting.IgnoreKeyCount : OptionsSetting.IgnoreValueCount;
      entries.push_back(entry->text);
      // The count is what reaches options.ini: it covers every entry, the new one included.
      count = static_cast<int>(entries.size());
    }
    consumed[i] = true;
  }
  list.RemoveIf([&consumed](size_t index, const ProblemEntry&) { return consumed[index]; });
  UpdateProblemCounts();
  if (refused) {
    Host().MessageBox(this, {.text = IgnoreEntryRefusedText(),
                             .title = kMessageBoxTitle,
                             .buttons = ui::MessageButtons::Ok,
                             .icon = ui::MessageIcon::Warning});
  }
}

void TfrmQuillet::aSaveTextExecute() {
  SaveDialog1->Title = "Save as Text File";
  SaveDialog1->Filter = "Text files (*.txt)|*.txt";
  if (!SaveDialog1->Execute()) return;
  const std::string fileName = WithTxtExtension(SaveDialog1->FileName);
  Platform& platform = CurrentPlatform();
  if (platform.files->FileExists(fileName)) {
    ui::MessageBoxRequest question;
    question.text = fileName + " has existed,overite it?";
    question.title = kMessageBoxTitle;
    question.buttons = ui::MessageButtons::YesNo;
    question.icon = ui::MessageIcon::Information;
    question.defaultButton = 2;
    if (Host().MessageBox(this, question) != ui::ModalResult::Yes) return;
  }
  std::vector<ProblemEntry> rows;
  rows.reserve(lvRegistryData->Count());
  for (size_t i = 0; i < lvRegistryData->Count(); ++i) rows.push_back(ProblemRowAt(*lvRegistryData, i));
  if (!platform.files->WriteFile(fileName, TextReportBytes(*platform.ansi, TextReport(rows)))) {
    ShowErrorBox(Host(), this, "Unable to write to " + fileName);
  }
}

void TfrmQuillet::aOpenRegeditExecute() {
  ProblemEntry first;
  if (!FirstSelectedRow(*lvRegistryData, first)) return;
  OpenInRegEdit(RegEditPathOfRow(first));
}

void TfrmQuillet::OpenInRegEdit(const std::string& path) {
  Platform& platform = CurrentPlatform();
  if (OpenPathInRegEdit(*platform.registry, *platform.desktop, path) != RegEditOpening::NotFound) return;
  ui::MessageBoxRequest message;
  message.text = kNotFoundMessage;
  message.title = kMessageBoxTitle;
  message.icon = ui::MessageIcon::Information;
  Host().MessageBox(this, message);
}

void TfrmQuillet::NavigateRegEdit(const std::string& rootName, const std::string& keyPath,
                                  const std::string& valueName) {
  quillet::NavigateRegEdit(*CurrentPlatform().desktop, rootName, keyPath, valueName);
}

}  // namespace quillet
