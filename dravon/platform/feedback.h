#pragma once

namespace dravon {

// The pointer shape and the beep that the image refresh gives the user.
class Feedback {
 public:
  virtual ~Feedback() = default;
  virtual void setWaitCursor(bool wait) = 0;
  virtual void beep() = 0;
};

}  // namespace dravon
