#pragma once

#include <QLabel>
#include <QStatusBar>
#include <array>

#include "plexaro/platform/status_bar.h"

namespace plexaro {

// StatusBar1: four panels, three of 100 pixels and the last reaching to the right edge.
class QtStatusBar final : public QStatusBar, public StatusBar {
 public:
  static constexpr int kPanelCount = 4;
  static constexpr int kPanelWidth = 100;

  explicit QtStatusBar(QWidget* parent);

  void setPanelText(int panel, std::string_view text) override;
  [[nodiscard]] QString panelText(int panel) const;

 private:
  std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace plexaro
