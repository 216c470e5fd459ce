#pragma once

#include <string_view>

namespace dravon {

enum class MessageIcon { kNone, kExclamation, kError };

// Modal message boxes with a single OK button and the program's own caption.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void showMessage(std::string_view text, MessageIcon icon) = 0;
};

}  // namespace dravon
