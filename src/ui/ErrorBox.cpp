#include "ui/ErrorBox.h"

#include "base/AppIdentity.h"
#include "ui/UiHost.h"

namespace quillet::ui {

void ShowErrorBox(UiHost& host, TForm* owner, const std::string& text) {
  host.MessageBox(owner, {.text = text, .title = kMessageBoxTitle, .buttons = MessageButtons::Ok,
                          .icon = MessageIcon::Error});
}

}  // namespace quillet::ui
