#pragma once

#include <cstdint>
#include <string_view>

#include "dravon/platform/settings_store.h"

namespace dravon {

inline constexpr std::string_view kSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr std::string_view kSettingsApplication = "Dravon";
inline constexpr std::string_view kConfigSection = "config";
inline constexpr std::string_view kResolutionValue = "resolution";

// The stored resolution. A missing value, 0, or a negative value (which would turn or empty
// the images) gives the default 3, which is written back at once.
int32_t loadResolution(SettingsStore& settings);
void storeResolution(SettingsStore& settings, int32_t resolution);

}  // namespace dravon
