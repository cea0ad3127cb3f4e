#include "settings/FormTexts.h"

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"

namespace quillet {
namespace {

using ui::ComponentKind;

std::string Numbered(const std::string& name, const char* part, size_t number) {
  return name + part + std::to_string(number);
}

// The menu an item's access key must be unique in: its parent entry, or the menu's top level.
std::string MenuGroup(const ui::TMenuItem& item) {
  return item.Parent() ? item.Parent()->Name() : item.Menu().Name();
}

void AddComponentTexts(ui::TComponent& component, const std::string& section, std::vector<FormText>& texts) {
  const std::string& name = component.Name();
  switch (component.Kind()) {
    case ComponentKind::Label:
    case ComponentKind::Button:
    case ComponentKind::SpeedButton:
    case ComponentKind::CheckBox:
    case ComponentKind::GroupBox: {
      auto& control = static_cast<ui::TControl&>(component);
      texts.push_back({section, name, control.Caption(), section,
                       [&control](std::string text) { control.SetCaption(std::move(text)); }});
      break;
    }
    case ComponentKind::ListBox: {
      auto& list = static_cast<ui::TListBox&>(component);
      for (size_t i = 0; i < list.Items().size(); ++i) {
        texts.push_back({section, Numbered(name, "_Item", i), list.Items()[i], {},
                         [&list, i](std::string text) { list.SetItem(i, std::move(text)); }});
      }
      break;
    }
    case ComponentKind::StatusBar: {
      auto& bar = static_cast<ui::TStatusBar&>(component);
      if (bar.SimplePanel()) {
        texts.push_back({section, name, bar.SimpleText(), {}, [&bar](std::string text) { bar.SetCaption(std::move(text)); }});
        break;
      }
      for (size_t i = 0; i < bar.Panels().size(); ++i) {
        texts.push_back({section, Numbered(name, "_Panel", i), bar.PanelText(i), {},
                         [&bar, i](std::string text) { bar.SetPanelText(i, std::move(text)); }});
      }
      break;
    }
    case ComponentKind::ListView: {
      auto& list = static_cast<ui::TCustomListView&>(component);
      for (size_t i = 0; i < list.Columns().size(); ++i) {
        texts.push_back({section, Numbered(name, "_Column", i), list.Columns()[i].caption, {},
                         [&list, i](std::string text) { list.SetColumnCaption(i, std::move(text)); }});
      }
      break;
    }
    case ComponentKind::PageControl: {
      auto& pages = static_cast<ui::TPageControl&>(component);
      for (size_t i = 0; i < pages.Pages().size(); ++i) {
        ui::TTabSheet& page = *pages.Pages()[i];
        texts.push_back({section, Numbered(name, "_Page", i), page.Caption(), section + "." + name,
                         [&page](std::string text) { page.SetCaption(std::move(text)); }});
      }
      break;
    }
    case ComponentKind::MenuItem: {
      auto& item = static_cast<ui::TMenuItem&>(component);
      if (item.IsSeparator()) break;
      texts.push_back({"Menu_" + section, name, item.Caption(), MenuGroup(item),
                       [&item](std::string text) { item.SetCaption(std::move(text)); }});
      break;
    }
    case ComponentKind::TreeView: {
      auto& tree = static_cast<ui::TTreeView&>(component);
      std::vector<ui::TTreeNode*> nodes = tree.Nodes();
      for (size_t i = 0; i < nodes.size(); ++i) {
        ui::TTreeNode* node = nodes[i];
        texts.push_back({section, Numbered(name, "_", i), node->Text(), {},
                         [node](std::string text) { node->SetText(std::move(text)); }});
      }
      break;
    }
    default: break;
  }
}

}  // namespace

std::vector<FormText> TranslatableTexts(ui::TForm& form) {
  const std::string& section = form.Name();
  std::vector<FormText> texts;
  texts.push_back({section, section, form.Caption(), {}, [&form](std::string text) { form.SetCaption(std::move(text)); }});
  for (const auto& component : form.Components()) AddComponentTexts(*component, section, texts);
  return texts;
}

}  // namespace quillet
