#pragma once

#include <QDialog>

namespace holvan {

/// Form2, the version dialog: a fresh one for each showing, freed when it
/// closes.
class TForm2 : public QDialog {
 public:
  explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace holvan
