#pragma once

#include <optional>
#include <string_view>

namespace dravon {

// The program's persistent settings, by section and value name.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored integer, or nothing when the value is missing or not a number.
  virtual std::optional<int> readInt(std::string_view section, std::string_view name) = 0;
  virtual void writeInt(std::string_view section, std::string_view name, int value) = 0;
};

}  // namespace dravon
