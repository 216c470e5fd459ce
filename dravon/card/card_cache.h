#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dravon/card/card_doc.h"

namespace dravon {

inline constexpr std::string_view kReadingCardCache = "Reading QDX file";
// The archive's failure texts; %1 is the file's path.
inline constexpr std::string_view kArchivePastEnd =
    "An attempt was made to access %1 past its end.";
inline constexpr std::string_view kArchiveBadFormat = "%1 has a bad format.";
inline constexpr std::string_view kArchiveUnexpectedObject = "%1 contained an unexpected object.";
inline constexpr std::string_view kArchiveBadSchema = "%1 contains an incorrect schema.";
inline constexpr std::string_view kDiskFull = "Destination disk drive is full.";
inline constexpr std::string_view kWriteFailed = "An unexpected error occurred while accessing %1.";

inline constexpr std::string_view kClassDevice = "CDev";
inline constexpr std::string_view kClassTestPoint = "CTp";
inline constexpr std::string_view kClassVia = "CVia";
inline constexpr std::string_view kClassPad = "CPad";
inline constexpr std::string_view kClassLine = "CLine";
inline constexpr std::string_view kClassShape = "CShape";

// "%1" of an archive text replaced by `path`.
[[nodiscard]] std::string archiveText(std::string_view format, std::string_view path);

// The cache's bytes for the model as it stands (a freshly converted card, in card units).
[[nodiscard]] std::string encodeCardCache(const CDravonDoc& doc);

// Writes the card cache at `path`, through a temporary file beside it that replaces the old
// file only once it is complete. A file that cannot be created fails without a message; a
// failed write shows the file-error text.
[[nodiscard]] bool writeCardCache(const CDravonDoc& doc, const std::string& path);

enum class CacheError { kNone, kCannotOpen, kPastEnd, kBadFormat, kUnexpectedObject, kBadSchema };

// Loads cache bytes into the model, dividing by the document's resolution, and recomputes the
// assembly flags, the device bounds and the layer flags. On a format error the model is
// cleared and the error returned; nothing is shown.
[[nodiscard]] CacheError decodeCardCache(CDravonDoc& doc, std::string_view bytes);

// Reads the card cache at `path` ("Reading QDX file"); a format error is shown in a message
// box naming the file.
[[nodiscard]] bool readCardCache(CDravonDoc& doc, const std::string& path);

}  // namespace dravon
