#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Form.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"
#include "ui/UiHost.h"

namespace quillet::testing {

// The UI host of the host tests. Forms run here as they would on screen, minus the pixels:
// showing a form runs its show and activate handlers, posted messages are pumped in order (also
// from other threads), modal forms run until they have a result, and while a modal form runs its
// script acts for the user. Message boxes and save dialogs take queued answers. Text is 6 pixels
// a character (7 in bold), 13 high; the screen is 1280 x 1024.
//
// Tree views are laid out one node a row, 16 pixels high, indented 19 pixels a level: the state
// image at the start of the indent, 16 wide, the caption 2 pixels after it.
//
// A modal form's idle handlers run whenever no message waits, so also between two scripted
// steps: each step sees the state a user would after the previous action.
class ScriptedUi : public ui::UiHost {
 public:
  struct ModalRun {
    std::string form;
    ui::ModalResult result = ui::ModalResult::None;
    bool visibleAtEnd = false;
  };

  ScriptedUi();
  ~ScriptedUi() override;

  // Shows the main window and pumps what its show and activation posted.
  void ShowMain(ui::TForm& form);
  // Handles the posted messages until none is left.
  void PumpPending();

  // While a modal form of that name runs: once the condition holds (checked before each posted
  // message is handled, and while none waits), the action runs. Steps run in the order given,
  // each once; a step that holds at once acts before the form handles any message.
  ScriptedUi& WhileModal(const std::string& formName, std::function<bool(ui::TForm&)> condition,
                         std::function<void(ui::TForm&)> action);
  // Shorthand: act at once.
  ScriptedUi& WhileModal(const std::string& formName, std::function<void(ui::TForm&)> action) {
    return WhileModal(formName, [](ui::TForm&) { return true; }, std::move(action));
  }
  // Runs once the modal form has its result, before its close handler runs.
  ScriptedUi& AtModalEnd(const std::string& formName, std::function<void(ui::TForm&)> action);
  // A modal run that does not end by itself within this time fails the test and is closed.
  void SetModalTimeout(std::chrono::milliseconds timeout) { modalTimeout_ = timeout; }

  ScriptedUi& AnswerMessageBox(ui::ModalResult answer);
  ScriptedUi& AnswerSaveDialog(std::optional<std::string> fileName);
  // The system gives no window placement from now on.
  ScriptedUi& FailWindowPlacement() {
    placementFails_ = true;
    return *this;
  }

  // The user's actions.
  void ClickStateIcon(ui::TTreeView& tree, const ui::TTreeNode& node);
  void ClickCaption(ui::TTreeView& tree, const ui::TTreeNode& node);
  void ClickAt(ui::TTreeView& tree, int x, int y);
  void FireTimer(ui::TTimer& timer);  // one tick, when the timer is on
  void PressCloseBox(ui::TForm& form) { PostMessage(form, ui::msg::kClose); }

  // Records.
  const std::vector<ModalRun>& ModalRuns() const { return modalRuns_; }
  const std::vector<ui::MessageBoxRequest>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<std::pair<unsigned, unsigned>>& Beeps() const { return beeps_; }
  const std::vector<std::string>& OpenedDocuments() const { return opened_; }
  int BroughtToFront() const { return broughtToFront_; }
  bool Closed(const ui::TForm& form) const;

  // UiHost
  ui::ModalResult ShowModal(ui::TForm& form) override;
  ui::ModalResult MessageBox(ui::TForm* owner, const ui::MessageBoxRequest& request) override;
  bool ExecuteSaveDialog(ui::TForm* owner, ui::TSaveDialog& dialog) override;
  void PostMessage(ui::TForm& form, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) override;
  void BringToFront(ui::TForm& form) override { ++broughtToFront_; }
  void Beep(unsigned frequency, unsigned durationMs) override { beeps_.emplace_back(frequency, durationMs); }
  bool OpenDocument(const std::string& target) override {
    opened_.push_back(target);
    return true;
  }
  int TextWidth(const ui::TFont& font, const std::string& text) override {
    return static_cast<int>(text.size()) * (font.bold ? 7 : 6);
  }
  int TextHeight(const ui::TFont&) override { return 13; }
  ui::TSize ScreenSize() override { return {1280, 1024}; }
  // The show command of the form's state while it is on screen.
  std::optional<int> WindowShowCommand(ui::TForm& form) override;
  void FormClosed(ui::TForm& form) override;
  void FormDestroyed(ui::TForm& form) override;

 private:
  struct Posted {
    ui::TForm* form;
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
  };
  struct Step {
    std::function<bool(ui::TForm&)> condition;
    std::function<void(ui::TForm&)> action;
  };
  class TreeLayout;

  void Realize(ui::TForm& form);
  bool DeliverOne();
  bool QueueEmpty();
  void RunIdle();
  void WaitForPost(std::chrono::milliseconds most);

  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Posted> queue_;

  std::vector<ui::TForm*> active_;  // the main window, then each modal form over it
  std::map<std::string, std::deque<Step>> scripts_;
  std::map<std::string, std::function<void(ui::TForm&)>> atEnd_;
  std::deque<ui::ModalResult> messageBoxAnswers_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::chrono::milliseconds modalTimeout_{10000};
  std::unique_ptr<TreeLayout> treeLayout_;

  std::vector<ModalRun> modalRuns_;
  std::vector<ui::MessageBoxRequest> messageBoxes_;
  std::vector<std::pair<unsigned, unsigned>> beeps_;
  std::vector<std::string> opened_;
  std::vector<const ui::TForm*> closed_;
  int broughtToFront_ = 0;
  bool placementFails_ = false;
};

}  // namespace quillet::testing
