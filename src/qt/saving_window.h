#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "errors/error.h"
#include "text/narrow_text.h"

namespace holvan {

/// A top-level window holding work that the end of the program must not
/// lose. Each of its events runs through one guard that shows the window's
/// error box. Shift+F10 opens the focused control's menu, as the Menu key
/// does.
class SavingWindow : public QWidget {
 public:
  /// program: what a failure written to the standard error stream starts
  /// with; caption: the error box's caption.
  SavingWindow(const char* program, NarrowText caption, QWidget* parent,
               Qt::WindowFlags flags);

  /// Loads the window's work (a failure shows its box) and shows the window.
  /// The program calls it from inside its event loop (RunWindow).
  virtual void Start() = 0;
  /// Saves without asking, unless the window is finished: the desktop session
  /// or the program is ending. A failure goes to the standard error stream:
  /// no one may be there to dismiss a box.
  void SaveQuietly();
  /// Saves quietly and ends the program without the close (SIGTERM, SIGHUP).
  void SaveAndQuit();
  /// True once the close has succeeded or the program is ending.
  bool finished() const { return finished_; }

 protected:
  /// Runs a handler; a holvan::Error ends it and shows the error box.
  /// Returns whether the handler ran to its end.
  bool Guarded(const std::function<void()>& handler);
  /// The error box: the error's message, the window's caption, error icon,
  /// OK. Returns when dismissed.
  void ShowErrorBox(const Error& error);
  /// Marks the window finished: nothing is saved without asking any more.
  virtual void Finish();

 private:
  /// Writes the window's work without asking; returns the failures, none of
  /// which stopped the steps after it.
  virtual std::vector<Error> SaveWork() = 0;

  const char* program_;
  NarrowText caption_;
  bool finished_ = false;
};

}  // namespace holvan
