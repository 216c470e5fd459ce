#include "plexaro/ui/search_dialog.h"

#include "plexaro/platform/main_window.h"

namespace plexaro {

void Dialogs::showSearchDialog(SearchDialog& dialog) {
  dialog.FormShow();
  dialog.Button2Click();
}

}  // namespace plexaro
