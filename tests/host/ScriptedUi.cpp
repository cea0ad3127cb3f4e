#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillet::testing {

namespace {
constexpr int kRowHeight = 16;
constexpr int kIndent = 19;
constexpr int kStateImageWidth = 16;
constexpr int kCaptionGap = 2;
constexpr int kFrameWidth = 16;
constexpr int kCaptionHeight = 39;
constexpr int kMenuBarHeight = 20;

int StateIconLeft(const ui::TTreeNode& node) { return node.Level() * kIndent; }
int CaptionLeft(const ui::TTreeNode& node) { return StateIconLeft(node) + kStateImageWidth + kCaptionGap; }
}  // namespace

class ScriptedUi::TreeLayout : public ui::ComponentPeer {
 public:
  void Changed(ui::TComponent&, ui::Change) override {}
  ui::TreeHit HitTest(ui::TTreeView& tree, int x, int y) override {
    ui::TreeHit hit;
    if (x < 0 || y < 0) return hit;
    const std::vector<ui::TTreeNode*> nodes = tree.Nodes();
    const size_t row = static_cast<size_t>(y / kRowHeight);
    if (row >= nodes.size()) return hit;
    const ui::TTreeNode& node = *nodes[row];
    hit.onItem = true;
    hit.nodeIndex = static_cast<int>(row);
    const int stateLeft = StateIconLeft(node);
    hit.onStateIcon = node.StateIndex() > 0 && x >= stateLeft && x < stateLeft + kStateImageWidth;
    const int captionLeft = CaptionLeft(node);
    hit.onLabel = x >= captionLeft && x < captionLeft + 6 * static_cast<int>(node.Text().size());
    return hit;
  }
};

ScriptedUi::ScriptedUi() : treeLayout_(std::make_unique<TreeLayout>()) {}

ScriptedUi::~ScriptedUi() {
  for (auto& [name, steps] : scripts_) {
    EXPECT_TRUE(steps.empty()) << steps.size() << " scripted step(s) for " << name << " never ran";
  }
  for (auto& [name, action] : atEnd_) ADD_FAILURE() << "no modal run of " << name << " ended";
}

void ScriptedUi::Realize(ui::TForm& form) {
  for (const auto& component : form.Components()) {
    if (component->Kind() == ui::ComponentKind::TreeView) component->AttachPeer(treeLayout_.get());
  }
  int clientWidth = form.ClientWidth();
  int clientHeight = form.ClientHeight();
  int width = form.Width();
  int height = form.Height();
  const int menu = form.Menu() ? kMenuBarHeight : 0;
  if (form.DesignedByClientSize()) {
    width = clientWidth + kFrameWidth;
    height = clientHeight + kCaptionHeight + menu;
  } else {
    clientWidth = width - kFrameWidth;
    clientHeight = height - kCaptionHeight - menu;
  }
  int left = form.Left();
  int top = form.Top();
  if (form.Position() == ui::FormPosition::ScreenCenter || active_.empty()) {
    left = (ScreenSize().width - width) / 2;
    top = (ScreenSize().height - height) / 2;
  } else if (form.Position() == ui::FormPosition::OwnerFormCenter) {
    const ui::TForm& owner = *active_.back();
    left = owner.Left() + (owner.Width() - width) / 2;
    top = owner.Top() + (owner.Height() - height) / 2;
  }
  form.SetBoundsFromUser(left, top, width, height);
  form.SetClientSizeFromUser(clientWidth, clientHeight);
}

void ScriptedUi::ShowMain(ui::TForm& form) {
  Realize(form);
  active_ = {&form};
  form.SetVisibleFromUser(true);
  if (form.OnShow) form.OnShow();
  if (form.OnActivate) form.OnActivate();
  PumpPending();
}

void ScriptedUi::PumpPending() {
  while (DeliverOne()) {
  }
}

bool ScriptedUi::DeliverOne() {
  Posted posted;
  {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    posted = queue_.front();
    queue_.pop_front();
  }
  if (!posted.form->Dispatch(posted.message, posted.wParam, posted.lParam) &&
      posted.message == ui::msg::kSysCommand && posted.wParam == ui::msg::kScMaximize) {
    posted.form->SetWindowStateFromUser(ui::WindowState::Maximized);
  }
  return true;
}

bool ScriptedUi::QueueEmpty() {
  std::lock_guard lock(mutex_);
  return queue_.empty();
}

void ScriptedUi::RunIdle() {
  const std::vector<ui::TForm*> forms = active_;
  for (ui::TForm* form : forms) {
    if (form->OnIdle) form->OnIdle();
  }
}

void ScriptedUi::WaitForPost(std::chrono::milliseconds most) {
  std::unique_lock lock(mutex_);
  posted_.wait_for(lock, most, [this] { return !queue_.empty(); });
}

ui::ModalResult ScriptedUi::ShowModal(ui::TForm& form) {
  Realize(form);
  form.BeginModal();
  active_.push_back(&form);
  form.SetVisibleFromUser(true);
  if (form.OnShow) form.OnShow();
  if (form.OnActivate) form.OnActivate();

  std::deque<Step>& steps = scripts_[form.Name()];
  const auto deadline = std::chrono::steady_clock::now() + modalTimeout_;
  bool timedOut = false;
  while (true) {
    if (form.GetModalResult() != ui::ModalResult::None) {
      if (auto atEnd = atEnd_.extract(form.Name())) atEnd.mapped()(form);
      if (form.EndModal()) break;
      continue;
    }
    if (QueueEmpty()) RunIdle();
    if (!steps.empty() && steps.front().condition(form)) {
      Step step = std::move(steps.front());
      steps.pop_front();
      step.action(form);
      continue;
    }
    if (DeliverOne()) continue;
    if (!timedOut && std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << form.Name() << " did not end within " << modalTimeout_.count() << " ms";
      timedOut = true;
      form.Close();
      continue;
    }
    WaitForPost(std::chrono::milliseconds(2));
  }

  active_.pop_back();
  modalRuns_.push_back({form.Name(), form.GetModalResult(), form.Visible()});
  form.SetVisibleFromUser(false);
  // The window under the dialog becomes active again, unless it is hidden.
  if (!active_.empty() && active_.back()->Visible() && active_.back()->OnActivate) active_.back()->OnActivate();
  return form.GetModalResult();
}

ScriptedUi& ScriptedUi::WhileModal(const std::string& formName, std::function<bool(ui::TForm&)> condition,
                                   std::function<void(ui::TForm&)> action) {
  scripts_[formName].push_back({std::move(condition), std::move(action)});
  return *this;
}

ScriptedUi& ScriptedUi::AtModalEnd(const std::string& formName, std::function<void(ui::TForm&)> action) {
  atEnd_[formName] = std::move(action);
  return *this;
}

ScriptedUi& ScriptedUi::AnswerMessageBox(ui::ModalResult answer) {
  messageBoxAnswers_.push_back(answer);
  return *this;
}

ScriptedUi& ScriptedUi::AnswerSaveDialog(std::optional<std::string> fileName) {
  saveAnswers_.push_back(std::move(fileName));
  return *this;
}

ui::ModalResult ScriptedUi::MessageBox(ui::TForm*, const ui::MessageBoxRequest& request) {
  messageBoxes_.push_back(request);
  if (!messageBoxAnswers_.empty()) {
    ui::ModalResult answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
  }
  switch (request.buttons) {
    case ui::MessageButtons::Ok:
    case ui::MessageButtons::OkCancel: return request.defaultButton == 2 ? ui::ModalResult::Cancel : ui::ModalResult::Ok;
    default: return request.defaultButton == 2 ? ui::ModalResult::No : ui::ModalResult::Yes;
  }
}

bool ScriptedUi::ExecuteSaveDialog(ui::TForm*, ui::TSaveDialog& dialog) {
  if (saveAnswers_.empty() || !saveAnswers_.front()) {
    if (!saveAnswers_.empty()) saveAnswers_.pop_front();
    return false;
  }
  dialog.FileName = *saveAnswers_.front();
  saveAnswers_.pop_front();
  return true;
}

void ScriptedUi::PostMessage(ui::TForm& form, unsigned message, uintptr_t wParam, intptr_t lParam) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({&form, message, wParam, lParam});
  }
  posted_.notify_all();
}

void ScriptedUi::ClickStateIcon(ui::TTreeView& tree, const ui::TTreeNode& node) {
  ClickAt(tree, StateIconLeft(node) + kStateImageWidth / 2, node.AbsoluteIndex() * kRowHeight + kRowHeight / 2);
}

void ScriptedUi::ClickCaption(ui::TTreeView& tree, const ui::TTreeNode& node) {
  ClickAt(tree, CaptionLeft(node) + 3, node.AbsoluteIndex() * kRowHeight + kRowHeight / 2);
}

void ScriptedUi::ClickAt(ui::TTreeView& tree, int x, int y) {
  if (tree.OnMouseDown) tree.OnMouseDown(ui::MouseButton::Left, {}, x, y);
}

void ScriptedUi::FireTimer(ui::TTimer& timer) {
  if (timer.Enabled() && timer.OnTimer) timer.OnTimer();
}

std::optional<int> ScriptedUi::WindowShowCommand(ui::TForm& form) {
  if (placementFails_ || std::find(active_.begin(), active_.end(), &form) == active_.end()) return std::nullopt;
  switch (form.GetWindowState()) {
    case ui::WindowState::Minimized: return 2;
    case ui::WindowState::Maximized: return 3;
    case ui::WindowState::Normal: break;
  }
  return 1;
}

bool ScriptedUi::Closed(const ui::TForm& form) const {
  return std::find(closed_.begin(), closed_.end(), &form) != closed_.end();
}

void ScriptedUi::FormClosed(ui::TForm& form) {
  closed_.push_back(&form);
  FormDestroyed(form);
}

void ScriptedUi::FormDestroyed(ui::TForm& form) {
  std::lock_guard lock(mutex_);
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Posted& posted) { return posted.form == &form; }),
               queue_.end());
}

}  // namespace quillet::testing
