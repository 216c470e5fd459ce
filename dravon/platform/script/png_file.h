#pragma once

#include <string>
#include <string_view>

#include "dravon/render/surface.h"

namespace dravon {

// The PNG bytes of `image`: 24-bit RGB, exactly its pixels. Stored without compression, so the
// writer needs nothing beyond the standard library.
[[nodiscard]] std::string encodePng(const Surface& image);

// Writes `image` as a PNG file at `path` through a temporary file beside it, so a failed write
// leaves an old file whole. An empty image is not written.
[[nodiscard]] bool writePng(const std::string& path, const Surface& image);

}  // namespace dravon
