#pragma once

#include <string>
#include <string_view>

#include "dravon/card/card_doc.h"

namespace dravon {

// Field-list and end lines of the CAD export's sections; each matches a whole line exactly.
inline constexpr std::string_view kTestPointFields =
    "$F TSTDES,SIGNAL,X,Y,LAYER,SHAPE,TSTTYP,TSTPIN,TSTDEV,CFSFSTAT;";
inline constexpr std::string_view kPadFields =
    "$F COMPDES,SYMDES,SIGNAL,PNOD,PNUM,PX,PY,PSTAT,PFHS,PADSHP,BRKSHP,CFSFSTAT;";
inline constexpr std::string_view kDeviceFields =
    "$F COMPDES,X,Y,LAYER,COMPROT,DSTAT,CFSFSTAT,DEVSHP,RESSHP,VIASHP;";
inline constexpr std::string_view kViaFields =
    "$F SIGNAL,CFSFSTAT,VHOLE,<(VSTAT,X,Y,LAYER1,LAYER2,VIASHP)>;";
inline constexpr std::string_view kLineFields =
    "$F SIGNAL,LAYER,SWID,SSTAT,CFSFSTAT,<(X1,Y1,X2,Y2)>;";
inline constexpr std::string_view kShapeFields = "$F SHPNDX,NAM,APT,TYPE,MAXFHS,<VAL1,VAL2)>;";
inline constexpr std::string_view kSectionMark = "$D";
inline constexpr std::string_view kPadsEnd = "$D PCDEVICE";
inline constexpr std::string_view kDevicesEnd = "$D PCVIA";
inline constexpr std::string_view kViasEnd = "$D PCLINE";
inline constexpr std::string_view kLinesEnd = "$D PCAPERT";
inline constexpr std::string_view kTestPointPrefix = "TP";
inline constexpr std::string_view kShotPrefix = "SHOT";
// SSTAT 3 and CFSFSTAT 1 right before the coordinate group: a segment of the card outline.
inline constexpr std::string_view kOutlineMark = "3,1,<(";

inline constexpr std::string_view kReadingTestPoints = "reading TP data";
inline constexpr std::string_view kReadingPads = "reading PAD data";
inline constexpr std::string_view kReadingDevices = "reading DEVICE data";
inline constexpr std::string_view kReadingVias = "reading VIA data";
inline constexpr std::string_view kReadingLines = "reading LINE data";
inline constexpr std::string_view kReadingShapes = "reading SHAPE data";
inline constexpr std::string_view kDeviceShapeNotFound = "[%s] Not Found ";
inline constexpr std::string_view kCadEndsEarly = "CAD export ends early";
inline constexpr std::string_view kCadTooLarge =
    "CAD export holds more nets or devices than a card can";

// Margins of the card rectangle around the outline's first ends.
inline constexpr int32_t kMarginBefore = 20;
inline constexpr int32_t kMarginAfter = 40;

// Converts the CAD export at `path` into the document's model (card units, shifted to the
// card origin). The parts list must have been read: it gives the devices' assembly flags.
// Returns false when the file cannot be read, ends early or names a device shape 0; the caller
// then clears the model.
[[nodiscard]] bool readCadExport(CDravonDoc& doc, const std::string& path);
// The same, on the file's text.
[[nodiscard]] bool readCadExportText(CDravonDoc& doc, std::string_view text);

}  // namespace dravon
