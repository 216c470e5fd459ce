#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace plexaro {

class SearchDialog;

// The Qt face of a search dialog: the black form with its three coloured labels, the inputs,
// OK and Cancel, laid out as the dialog was designed. Every event goes to the dialog's logic,
// and the window closes when the logic asks to.
class QtSearchDialog final : public QDialog {
  Q_OBJECT

 public:
  QtSearchDialog(SearchDialog& dialog, QWidget* parent);
  // Shows the dialog modally until the logic closes it or the user closes the window.
  void run();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void afterHandler();

  SearchDialog& dialog_;
  std::array<QLineEdit*, 3> edits_{};
};

}  // namespace plexaro
