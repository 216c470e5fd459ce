#include "plexaro/platform/qt/qt_status_bar.h"

#include "plexaro/platform/qt/qt_text.h"

namespace plexaro {

QtStatusBar::QtStatusBar(QWidget* parent) : QStatusBar(parent) {
  for (int i = 0; i < kPanelCount; ++i) {
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    const bool last = i == kPanelCount - 1;
    if (!last) panel->setFixedWidth(kPanelWidth);
    // A long ask-point line must not widen the window.
    panel->setMinimumWidth(last ? 1 : kPanelWidth);
    addWidget(panel, last ? 1 : 0);
    panels_[i] = panel;
  }
}

void QtStatusBar::setPanelText(int panel, std::string_view text) {
  if (panel < 0 || panel >= kPanelCount) return;
  panels_[panel]->setText(toQString(text));
}

QString QtStatusBar::panelText(int panel) const {
  if (panel < 0 || panel >= kPanelCount) return {};
  return panels_[panel]->text();
}

}  // namespace plexaro
