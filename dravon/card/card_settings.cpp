#include "dravon/card/card_settings.h"

#include "dravon/card/card_doc.h"

namespace dravon {

int32_t loadResolution(SettingsStore& settings) {
  const std::optional<int> stored = settings.readInt(kConfigSection, kResolutionValue);
  if (stored && *stored > 0) return *stored;
  settings.writeInt(kConfigSection, kResolutionValue, kDefaultResolution);
  return kDefaultResolution;
}

void storeResolution(SettingsStore& settings, int32_t resolution) {
  settings.writeInt(kConfigSection, kResolutionValue, resolution);
}

}  // namespace dravon
