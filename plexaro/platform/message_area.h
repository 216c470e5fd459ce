#pragma once

#include <string_view>

namespace plexaro {

// The main window's message area: a read-only list of lines, newest last.
class MessageArea {
 public:
  virtual ~MessageArea() = default;
  virtual void addMessageLine(std::string_view line) = 0;
  virtual void clearMessages() = 0;
};

}  // namespace plexaro
