#pragma once

#include <string>
#include <vector>

#include "ui/Component.h"

// The simple controls and the non-visual components: labels, buttons, check boxes, group boxes,
// edit fields, list boxes, progress bars, pictures, status bars, page controls, timers and the
// file save dialog.
namespace quillet::ui {

enum class ModalResult : int;

// Pictures the renderer draws; the core names them only.
enum class Picture { None, Banner, AppIcon, UpdateIcon, ScanGlyph, RepairGlyph, RestoreGlyph };

class TLabel : public TControl {
 public:
  TLabel(TForm& owner, std::string name, TControl* parent = nullptr);
  // Auto-sized labels take the width and height of their caption in their font.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  // A link: a hand cursor over it, clicks reach OnClick.
  bool IsLink() const { return isLink_; }
  void SetLink(bool isLink) { isLink_ = isLink; }

 protected:
  void CaptionChanged() override;

 private:
  void FitCaption();
  bool autoSize_ = true;
  bool isLink_ = false;
};

class TButton : public TControl {
 public:
  TButton(TForm& owner, std::string name, TControl* parent = nullptr);
  // Enter presses the default button, Escape the cancel button.
  bool IsDefault() const { return isDefault_; }
  void SetDefault(bool isDefault) { isDefault_ = isDefault; }
  bool IsCancel() const { return isCancel_; }
  void SetCancel(bool isCancel) { isCancel_ = isCancel; }
  // A click on a button with a modal result ends its modal form with that result.
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }

  // What a press of the button does: its handler, then its modal result.
  void Click();

 private:
  bool isDefault_ = false;
  bool isCancel_ = false;
  ModalResult modalResult_{};
};

// A flat button drawn as a link with a glyph in front of its caption.
class TSpeedButton : public TControl {
 public:
  TSpeedButton(TForm& owner, std::string name, TControl* parent = nullptr);
  Picture Glyph() const { return glyph_; }
  void SetGlyph(Picture glyph) { glyph_ = glyph; }
  void Click();

 private:
  Picture glyph_ = Picture::None;
};

class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& owner, std::string name, TControl* parent = nullptr);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The user toggled the box: the new state, then OnClick.
  void ToggleFromUser();

 private:
  bool checked_ = false;
};

class TGroupBox : public TControl {
 public:
  TGroupBox(TForm& owner, std::string name, TControl* parent = nullptr);
};

class TEdit : public TControl {
 public:
  TEdit(TForm& owner, std::string name, TControl* parent = nullptr);
  const std::string& Text() const { return Caption(); }
  void SetText(std::string text) { SetCaption(std::move(text)); }
  void SetTextFromUser(std::string text);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool HasBorder() const { return border_; }
  void SetBorder(bool border) { border_ = border; }
  bool Multiline() const { return multiline_; }
  std::function<void()> OnChange;

 protected:
  void SetMultiline(bool multiline) { multiline_ = multiline; }

 private:
  bool readOnly_ = false;
  bool border_ = true;
  bool multiline_ = false;
};

// A multi-line text; its lines are its caption joined by CR LF.
class TMemo : public TEdit {
 public:
  TMemo(TForm& owner, std::string name, TControl* parent = nullptr);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
};

class TListBox : public TControl {
 public:
  TListBox(TForm& owner, std::string name, TControl* parent = nullptr);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  void SetItem(size_t index, std::string text);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  void SetItemIndexFromUser(int index) { itemIndex_ = index; }

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TProgressBar : public TControl {
 public:
  TProgressBar(TForm& owner, std::string name, TControl* parent = nullptr);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const { return position_; }
  // Kept inside the range, as the control does.
  void SetPosition(int position);

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

class TImage : public TControl {
 public:
  TImage(TForm& owner, std::string name, TControl* parent = nullptr);
  Picture GetPicture() const { return picture_; }
  void SetPicture(Picture picture) { picture_ = picture; }

 private:
  Picture picture_ = Picture::None;
};

struct TStatusPanel {
  int width = 50;
  std::string text;
};

// Sits at the bottom of its form; the last panel takes what is left of the width.
class TStatusBar : public TControl {
 public:
  TStatusBar(TForm& owner, std::string name);
  const std::vector<TStatusPanel>& Panels() const { return panels_; }
  void AddPanel(int width);
  const std::string& PanelText(size_t index) const { return panels_.at(index).text; }
  void SetPanelText(size_t index, std::string text);
  void SetPanelWidth(size_t index, int width);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool simple) { simplePanel_ = simple; }
  const std::string& SimpleText() const { return Caption(); }

 private:
  std::vector<TStatusPanel> panels_;
  bool simplePanel_ = false;
};

class TPageControl;

// One page of a page control; a container for the controls on it.
class TTabSheet : public TControl {
 public:
  TTabSheet(TForm& owner, std::string name, TPageControl& pageControl);
  TPageControl& PageControl() const { return pageControl_; }
  int PageIndex() const;

 private:
  TPageControl& pageControl_;
};

class TPageControl : public TControl {
 public:
  TPageControl(TForm& owner, std::string name, TControl* parent = nullptr);
  const std::vector<TTabSheet*>& Pages() const { return pages_; }
  int ActivePageIndex() const { return activePage_; }
  TTabSheet* ActivePage() const { return activePage_ >= 0 ? pages_[static_cast<size_t>(activePage_)] : nullptr; }
  void SetActivePageIndex(int index);
  // The user picked a tab: it becomes active, then OnChange.
  void SelectPageFromUser(int index);
  std::function<void()> OnChange;

 private:
  friend class TTabSheet;
  void AddPage(TTabSheet* page);
  std::vector<TTabSheet*> pages_;
  int activePage_ = -1;
};

// Fires OnTimer every Interval milliseconds while enabled. The renderer runs it on the form's
// thread; the scripted UI fires it on request.
class TTimer : public TComponent {
 public:
  TTimer(TForm& owner, std::string name);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::function<void()> OnTimer;

 private:
  unsigned interval_ = 1000;
  bool enabled_ = true;
};

// The system's file save dialog, shown through the UI host.
class TSaveDialog : public TComponent {
 public:
  TSaveDialog(TForm& owner, std::string name);
  std::string Title;
  std::string Filter;  // "Text files (*.txt)|*.txt", pairs of description and pattern
  std::string FileName;
  // Shows the dialog; true and FileName set when the user chose a file.
  bool Execute();
};

}  // namespace quillet::ui
