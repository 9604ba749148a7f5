#pragma once

#include <QWidget>

namespace holvan {

/// A top-level window holding work that the end of the program must not
/// lose.
class SavingWindow : public QWidget {
 public:
  using QWidget::QWidget;

  /// Loads the window's work (a failure shows its box) and shows the window.
  /// The program calls it from inside its event loop (RunWindow).
  virtual void Start() = 0;
  /// Saves without asking: the session is ending. A failure goes to the
  /// standard error stream: no one may be there to dismiss a box.
  virtual void SaveQuietly() = 0;
  /// Saves quietly and ends the program without the close (SIGTERM, SIGHUP).
  virtual void SaveAndQuit() = 0;
};

/// Saves the window's work without asking when the program ends other than
/// by its close: the desktop session ending, SIGTERM or SIGHUP (which also
/// end the program), or the application quitting.
void SaveOnSessionEnd(SavingWindow& window);

}  // namespace holvan
