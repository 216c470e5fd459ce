#pragma once

#include <string>
#include <vector>

#include "dravon/platform/settings_store.h"

namespace dravon {

// Settings in the INI file that the Qt host's settings store keeps for the same organization
// and program: $XDG_CONFIG_HOME (or ~/.config) / organization / program ".conf", sections in
// brackets, "name=value" lines. Lines it does not change are kept as they are.
class IniSettings final : public SettingsStore {
 public:
  explicit IniSettings(std::string path);

  // Where the program's settings live for this user.
  [[nodiscard]] static std::string defaultPath();

  std::optional<int> readInt(std::string_view section, std::string_view name) override;
  void writeInt(std::string_view section, std::string_view name, int value) override;

 private:
  void load();
  void save() const;

  std::string path_;
  std::vector<std::string> lines_;
};

}  // namespace dravon
