#include "dravon/platform/script/ini_settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dravon/card/card_settings.h"
#include "dravon/card/text_fields.h"

namespace dravon {
namespace {

std::string sectionLine(std::string_view section) {
  std::string line = "[";
  return line.append(section).append("]");
}

bool isSection(std::string_view line) {
  return line.starts_with('[');
}

}  // namespace

IniSettings::IniSettings(std::string path) : path_(std::move(path)) {
  load();
}

std::string IniSettings::defaultPath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr) {
    base = std::string(home) + "/.config";
  } else {
    base = ".config";
  }
  return base + "/" + std::string(kSettingsOrganization) + "/" + std::string(kSettingsApplication) +
         ".conf";
}

void IniSettings::load() {
  std::string text;
  if (!readWholeFile(path_, text)) return;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

void IniSettings::save() const {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
  const std::string temporary = path_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines_) out << line << '\n';
    if (!out.flush()) {
      std::filesystem::remove(temporary, error);
      return;
    }
  }
  std::filesystem::rename(temporary, path_, error);
}

std::optional<int> IniSettings::readInt(std::string_view section, std::string_view name) {
  const std::string header = sectionLine(section);
  bool inSection = false;
  for (const std::string& line : lines_) {
    if (isSection(line)) {
      inSection = line == header;
    } else if (inSection && line.size() > name.size() && line.starts_with(name) &&
               line[name.size()] == '=') {
      const std::string_view value = std::string_view(line).substr(name.size() + 1);
      std::size_t digits = value.starts_with('-') ? 1 : 0;
      if (digits == value.size()) return std::nullopt;
      for (std::size_t i = digits; i < value.size(); ++i) {
        if (value[i] < '0' || value[i] > '9') return std::nullopt;
      }
      return parseDecimal(value);
    }
  }
  return std::nullopt;
}

void IniSettings::writeInt(std::string_view section, std::string_view name, int value) {
  const std::string header = sectionLine(section);
  const std::string key = std::string(name) + "=";
  const std::string entry = key + std::to_string(value);
  std::size_t h = 0;
  while (h < lines_.size() && lines_[h] != header) ++h;
  if (h == lines_.size()) {
    if (!lines_.empty() && !lines_.back().empty()) lines_.emplace_back();
    lines_.push_back(header);
    lines_.push_back(entry);
    save();
    return;
  }
  std::size_t insertAt = h + 1;
  for (std::size_t i = h + 1; i < lines_.size() && !isSection(lines_[i]); ++i) {
    if (lines_[i].starts_with(key)) {
      lines_[i] = entry;
      save();
      return;
    }
    if (!lines_[i].empty()) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  save();
}

}  // namespace dravon
