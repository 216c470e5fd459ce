#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dravon/card/card_records.h"
#include "dravon/card/shape_index.h"
#include "dravon/platform/message_box.h"
#include "dravon/platform/status_bar.h"
#include "dravon/render/surface.h"

namespace dravon {

inline constexpr std::string_view kComponentTextFormat = "%s %s %s p%d";
inline constexpr std::string_view kPinTextFormat = "%s.%3d %s";
inline constexpr std::string_view kUntitled = "Untitled";

inline constexpr int kStatusPane = 1;   // the pane that showStatus writes
inline constexpr int kLayerSlots = 12;  // layers the view offers, 1 to 12
inline constexpr int32_t kDefaultResolution = 3;

inline constexpr std::string_view kNoConnectMark = ".NC.";
inline constexpr std::string_view kGroundMark = "GND";
inline constexpr std::string_view kSupplyMark = "VCC";

struct MarkColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  friend constexpr bool operator==(MarkColour, MarkColour) = default;
};
inline constexpr MarkColour kGroundColour{0, 128, 255};
inline constexpr MarkColour kSupplyColour{255, 128, 0};

// What the composite image holds: the side image it was copied from (1 front, 0 back, -1 none)
// and the rectangles drawn over it since, so that a refresh of the same side puts back only
// those instead of copying the whole image.
struct CompositeContent {
  int side = -1;
  std::vector<Rect> drawn;
  // Changes, to a number never used before, whenever the composite's pixels do; 0 = unknown.
  // Pictures made from the composite are kept while it stays the same.
  uint64_t version = 0;
};

// `name` padded with blanks or cut to exactly `width` characters.
std::string padName(std::string_view name, std::size_t width);

// The card document: the parts list entries, the converted card, the PDF links, the marked nets
// and the selection state that the view, the searches and the drawing share. Positions in the
// arrays are the references between records; shapes are referred to by their `index` value.
class CDravonDoc {
 public:
  // Parts list.
  std::string cardName;  // a card counts as loaded exactly when this is not empty
  std::string cardPartNumber;
  std::string ecLevel;
  std::vector<CListEntry> listEntries;

  // Card geometry.
  std::vector<CDev> devices;
  std::vector<CPad> pads;
  std::vector<CTp> testPoints;
  std::vector<CVia> vias;
  std::vector<CLine> lines;
  std::vector<CLine> outlineLines;
  std::vector<CShape> shapes;
  std::vector<std::string> netNames;
  CardRect imageRect;
  int16_t originX = 0;
  int16_t originY = 0;
  int32_t layerCount = 0;
  int32_t resolution = kDefaultResolution;
  // Which layers carry signal lines, filled by the cache reader; the view mirrors them.
  std::array<bool, kLayerSlots> layerPresent{};

  // PDF links.
  std::string pdlPath;
  std::string currentPdf;
  std::string cardFolder;  // ends in "/"
  std::vector<CPdfTable> pdfLinks;

  // Selection.
  std::string foundName;
  int32_t foundIndex = -1;
  int32_t foundPin = -1;
  int32_t currentNet = -1;
  int32_t highlightLayer = -1;
  bool multiNetMarkup = false;
  std::vector<NetMark> markedNets;

  // The side images, drawn once per card, and the composite that the view shows: the shown
  // side with the markup on top. Empty until a card's images are built.
  Surface frontImage;
  Surface backImage;
  Surface compositeImage;
  CompositeContent compositeContent;
  Rgb markColorA{255, 0, 0};
  Rgb markColorB{255, 255, 0};

  // What the framework keeps for the document: its path and title.
  std::string pathName;
  std::string title{kUntitled};

  // Where showStatus and the readers' message boxes go; either may be absent.
  StatusBar* statusBar = nullptr;
  MessageBoxes* messageBoxes = nullptr;

  [[nodiscard]] int findShape(int32_t shapeIndex) const;
  [[nodiscard]] int findDevice(std::string_view name) const;
  // Falls back to 0, the first entry, which callers use without a test. A parts list without
  // entries has no entry 0: use notAssembledOf for the assembly flag.
  [[nodiscard]] int findListEntry(std::string_view name) const;
  [[nodiscard]] int findNet(std::string_view name) const;
  [[nodiscard]] int findPadNet(std::string_view componentName, int32_t pin) const;
  // The assembly flag of the entry findListEntry gives for `name`; 0 when the list is empty.
  [[nodiscard]] int32_t notAssembledOf(std::string_view name) const;

  // Marks the shape with that index, and the front and back members of a padstack, in `used`
  // (one flag per position of `shapes`). A padstack that leads back to a marked shape stops
  // there, so padstacks that refer to themselves end.
  void markShapeUsed(int32_t shapeIndex, std::vector<bool>& used) const;
  // The same, looking shapes up through `index`, built from `shapes` as they are now.
  void markShapeUsed(int32_t shapeIndex, std::vector<bool>& used, const ShapeIndex& index) const;

  // Marks of no net (-1, left by a pin search that found no pad) mark nothing and do not count:
  // such a mark would otherwise mark every via and line without a net.
  [[nodiscard]] int isNetMarked(int32_t net) const;
  // The marks of real nets; more than one is "several nets" (duplicates count).
  [[nodiscard]] std::size_t markedNetCount() const;
  // The colour of a marked net; nothing means the normal markup colour.
  [[nodiscard]] std::optional<MarkColour> netMarkColor(int32_t net) const;
  void clearMarkedNets();
  // Also releases the images, which belong to the card.
  void clearModel();

  [[nodiscard]] std::string componentText(int entry) const;
  [[nodiscard]] std::string pinText(int pad) const;

  void showStatus(std::string_view text) const;
  void showMessageBox(std::string_view text, MessageIcon icon) const;

 private:
  template <typename Find>
  void markShapes(int32_t shapeIndex, std::vector<bool>& used, const Find& find) const;
  [[nodiscard]] std::string_view netName(int32_t net) const;
};

}  // namespace dravon
