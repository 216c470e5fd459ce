#pragma once

#include <string_view>

namespace dravon {

// The main frame's status bar: five panes, 0 the message pane, 1 the item and progress pane,
// 2 the pointer readout.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  // Shows `text` in `pane` and repaints that pane at once, so progress texts are seen while a
  // long read runs.
  virtual void setPaneText(int pane, std::string_view text) = 0;
};

}  // namespace dravon
