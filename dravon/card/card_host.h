#pragma once

#include <string>
#include <vector>

namespace dravon {

class CDravonDoc;

// What opening a card needs of the rest of the program: the frame's component box, the wait
// cursor, and the steps that later subsystems take over (PDF links, side images, the view's
// update). Every hook does nothing unless a host fills it in.
class CardHost {
 public:
  virtual ~CardHost() = default;
  // Empties the Component ID box and adds these lines, in order.
  virtual void refillComponentList(const std::vector<std::string>& lines) { (void)lines; }
  virtual void setWaitCursor(bool wait) { (void)wait; }
  virtual void readPdfLinks(CDravonDoc& doc) { (void)doc; }
  virtual void buildSideImages(CDravonDoc& doc) { (void)doc; }
  // The open succeeded: the framework records the path, the view shows the new card.
  virtual void cardOpened(CDravonDoc& doc) { (void)doc; }
};

}  // namespace dravon
