// The Win32 renderer against real windows: form models of the tests' own, shown modally in this
// process; a timer on the form acts and looks while the modal loop runs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Win32UiHost.h"

#include <commctrl.h>

namespace quillet::testing {
namespace {

using namespace quillet::ui;

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* caption = nullptr) {
  return ::FindWindowExW(parent, nullptr, className, caption);
}

// A dialog whose timer runs the test's steps, one a tick, then ends it with Ok.
class ScriptedForm : public TForm {
 public:
  explicit ScriptedForm(UiHost& host) : TForm(host, "frmRendererTest") {
    SetCaption("Renderer test");
    SetDesignClientSize(400, 300);
    SetBorderStyle(FormBorder::Dialog);
    SetPosition(FormPosition::ScreenCenter);
  }
  // Made last, so the steps see every control of the form.
  void Script(std::vector<std::function<void(HWND window)>> steps) {
    steps_ = std::move(steps);
    timer_ = Make<TTimer>("tmScript");
    timer_->SetInterval(20);
    timer_->OnTimer = [this] {
      if (step_ < steps_.size()) {
        steps_[step_++](static_cast<ui::win32::FormWindow*>(HostData())->Handle());
      } else {
        timer_->SetEnabled(false);
        SetModalResult(ModalResult::Ok);
      }
    };
  }

 private:
  std::vector<std::function<void(HWND)>> steps_;
  size_t step_ = 0;
  TTimer* timer_ = nullptr;
};

TEST(Renderer, ControlsShowTheModelAndTellItWhatTheUserDid) {
  ui::win32::Win32UiHost host;
  ScriptedForm form(host);
  TLabel* label = form.Make<TLabel>("lText");
  label->SetBounds(8, 8, 0, 0);
  label->SetCaption("First caption");
  TCheckBox* check = form.Make<TCheckBox>("cbOption");
  check->SetBounds(8, 30, 200, 20);
  check->SetCaption("An option");
  int checkClicks = 0;
  check->OnClick = [&] { ++checkClicks; };
  TEdit* edit = form.Make<TEdit>("eFolder");
  edit->SetBounds(8, 56, 200, 21);
  edit->SetText("C:\\Backup");
  TProgressBar* bar = form.Make<TProgressBar>("ProgressBar1");
  bar->SetBounds(8, 84, 200, 16);
  bar->SetRange(0, 1000);
  TPageControl* pages = form.Make<TPageControl>("pcPages");
  pages->SetBounds(220, 8, 170, 120);
  TTabSheet* general = form.Make<TTabSheet>("tsGeneral", *pages);
  general->SetCaption("General");
  TTabSheet* lists = form.Make<TTabSheet>("tsLists", *pages);
  lists->SetCaption("Ignore Lists");
  TLabel* onGeneral = form.Make<TLabel>("lGeneral", general);
  onGeneral->SetBounds(4, 4, 0, 0);
  onGeneral->SetCaption("On general");
  TLabel* onLists = form.Make<TLabel>("lLists", lists);
  onLists->SetBounds(4, 4, 0, 0);
  onLists->SetCaption("On lists");
  TStatusBar* status = form.Make<TStatusBar>("StatusBar1");
  status->AddPanel(120);
  status->AddPanel(50);

  std::vector<std::string> seen;
  form.Script({
      [&](HWND window) {
        seen.push_back(quillet::win32::ToUtf8(TextOf(Child(window, L"Static", L"First caption"))));
        label->SetCaption("Second caption");
        bar->SetPosition(250);
        status->SetPanelText(1, " 7 problems selected for repairing");
      },
      [&](HWND window) {
        seen.push_back(Child(window, L"Static", L"Second caption") ? "caption changed" : "caption kept");
        seen.push_back(std::to_string(::SendMessageW(Child(window, PROGRESS_CLASSW), PBM_GETPOS, 0, 0)));
        wchar_t text[128] = {};
        ::SendMessageW(Child(window, STATUSCLASSNAMEW), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
        seen.push_back(quillet::win32::ToUtf8(text));
        // The user's side: a click on the box, typing into the field.
        ::SendMessageW(Child(window, L"Button", L"An option"), BM_CLICK, 0, 0);
        ::SetWindowTextW(Child(window, L"Edit"), L"D:\\Other");
      },
      [&](HWND window) {
        seen.push_back(check->Checked() ? "ticked" : "unticked");
        seen.push_back(edit->Text());
        seen.push_back(::IsWindowVisible(Child(window, L"Static", L"On general")) ? "general shown" : "general hidden");
        seen.push_back(::IsWindowVisible(Child(window, L"Static", L"On lists")) ? "lists shown" : "lists hidden");
        pages->SetActivePageIndex(1);
      },
      [&](HWND window) {
        seen.push_back(::IsWindowVisible(Child(window, L"Static", L"On general")) ? "general shown" : "general hidden");
        seen.push_back(::IsWindowVisible(Child(window, L"Static", L"On lists")) ? "lists shown" : "lists hidden");
        seen.push_back(std::to_string(TabCtrl_GetCurSel(Child(window, WC_TABCONTROLW))));
      },
  });
  EXPECT_EQ(form.ShowModal(), ModalResult::Ok);
  EXPECT_EQ(seen, (std::vector<std::string>{"First caption", "caption changed", "250",
                                            " 7 problems selected for repairing", "ticked", "D:\\Other",
                                            "general shown", "lists hidden", "general hidden", "lists shown", "1"}));
  EXPECT_EQ(checkClicks, 1);
}

TEST(Renderer, TheCloseBoxEndsAModalFormUnlessItsCloseHandlerKeepsIt) {
  ui::win32::Win32UiHost host;
  ScriptedForm form(host);
  int closeRequests = 0;
  form.OnClose = [&](CloseAction& action) {
    if (++closeRequests == 1) action = CloseAction::None;
  };
  form.Script({
      [&](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); },
      [&](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); },
      [&](HWND) { ADD_FAILURE() << "the second close did not end the form"; },
  });
  EXPECT_EQ(form.ShowModal(), ModalResult::Cancel);
  EXPECT_EQ(closeRequests, 2);
}

TEST(Renderer, MessagesPostedFromAnotherThreadArriveInOrder) {
  ui::win32::Win32UiHost host;
  ScriptedForm form(host);
  constexpr unsigned kMessage = 0x2470;
  std::vector<intptr_t> received;
  form.OnMessage(kMessage, [&](uintptr_t, intptr_t lParam) {
    received.push_back(lParam);
    if (received.size() == 2000) form.SetModalResult(ModalResult::Ok);
  });
  std::thread poster;
  form.OnShow = [&] {
    poster = std::thread([&] {
      for (intptr_t i = 0; i < 2000; ++i) host.PostMessage(form, kMessage, 0, i);
    });
  };
  EXPECT_EQ(form.ShowModal(), ModalResult::Ok);
  poster.join();
  ASSERT_EQ(received.size(), 2000u);
  for (size_t i = 0; i < received.size(); ++i) ASSERT_EQ(received[i], static_cast<intptr_t>(i));
}

TEST(Renderer, AVirtualListShowsTheModelsRowsAndTicks) {
  ui::win32::Win32UiHost host;
  ScriptedForm form(host);
  TListView* list = form.Make<TListView>("lvRows");
  list->SetBounds(8, 8, 380, 200);
  list->SetCheckboxes(true);
  list->SetMultiSelect(true);
  list->AddColumn("Problem", 120);
  list->AddColumn("Registry key", 200);
  std::vector<TListItem> rows;
  for (int i = 0; i < 5000; ++i) rows.push_back({"Row " + std::to_string(i), {"Key " + std::to_string(i)}, i % 2 == 0});
  list->AddItems(std::move(rows));

  std::vector<std::string> seen;
  auto textAt = [](HWND view, int row, int column) {
    wchar_t text[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    ::SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return quillet::win32::ToUtf8(text);
  };
  auto ticked = [](HWND view, int row) {
    return ((ListView_GetItemState(view, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
  };
  form.Script({
      [&](HWND window) {
        HWND view = Child(window, WC_LISTVIEWW);
        seen.push_back(std::to_string(ListView_GetItemCount(view)));
        seen.push_back(textAt(view, 4321, 1));
        seen.push_back(ticked(view, 4320) ? "ticked" : "unticked");
        seen.push_back(ticked(view, 4321) ? "ticked" : "unticked");
        list->SetAllChecked(false);
        list->AddItem({"Row 5000", {"Key 5000"}, true});
        ListView_SetItemState(view, 2, LVIS_SELECTED, LVIS_SELECTED);
      },
      [&](HWND window) {
        HWND view = Child(window, WC_LISTVIEWW);
        seen.push_back(std::to_string(ListView_GetItemCount(view)));
        seen.push_back(ticked(view, 4320) ? "ticked" : "unticked");
        seen.push_back(ticked(view, 5000) ? "ticked" : "unticked");
        seen.push_back(std::to_string(list->FirstSelected()));
      },
  });
  form.ShowModal();
  EXPECT_EQ(seen, (std::vector<std::string>{"5000", "Key 4321", "ticked", "unticked", "5001", "unticked", "ticked",
                                            "2"}));
}

}  // namespace
}  // namespace quillet::testing
