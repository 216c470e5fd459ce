#pragma once

#include <string_view>

namespace plexaro {

// The main window's status bar: panel 0 shows the viewed side, panel 3 what the pointer found.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void setPanelText(int panel, std::string_view text) = 0;
};

}  // namespace plexaro
