#pragma once

#include <QDialog>

namespace holvan {

/// The version dialog: a fresh one for each showing, freed when it closes.
class VersionDialog : public QDialog {
 public:
  explicit VersionDialog(QWidget* parent = nullptr);
};

}  // namespace holvan
