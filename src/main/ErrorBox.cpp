#include "main/ErrorBox.h"

#include "base/AppIdentity.h"
#include "ui/UiHost.h"

namespace quillet {

void ShowErrorBox(ui::UiHost& host, ui::TForm* owner, const std::string& text) {
  host.MessageBox(owner, {.text = text, .title = kMessageBoxTitle, .buttons = ui::MessageButtons::Ok,
                          .icon = ui::MessageIcon::Error});
}

}  // namespace quillet
