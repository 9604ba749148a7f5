#include "qt/saving_window.h"

#include <QCoreApplication>
#include <cstdio>

#include "errors/failure.h"
#include "qt/accessible_role.h"
#include "qt/context_menu_key.h"
#include "qt/focus_ring.h"
#include "qt/message_box.h"
#include "text/cp932.h"

namespace holvan {

SavingWindow::SavingWindow(const char* program, NarrowText caption,
                           QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), program_(program), caption_(std::move(caption)) {
  OpenContextMenusWithShiftF10(this);
  SetAccessibleRole(this, QAccessible::Window);
  new FocusRing(this);
}

void SavingWindow::SaveQuietly() {
  if (finished_) return;
  for (const Error& failure : SaveWork()) {
    std::fprintf(stderr, "%s: %s\n", program_,
                 NarrowToUtf8(failure.BoxText()).c_str());
  }
}

void SavingWindow::SaveAndQuit() {
  SaveQuietly();
  Finish();
  // exit, not quit: quit would ask the window to close, which runs the close
  // with its questions and boxes.
  QCoreApplication::exit(0);
}

bool SavingWindow::Guarded(const std::function<void()>& handler) {
  const std::optional<Error> failure = FailureOf(handler);
  if (failure) ShowErrorBox(*failure);
  return !failure;
}

void SavingWindow::ShowErrorBox(const Error& error) {
  ShowBox(this, QMessageBox::Critical, caption_, error.BoxText());
}

void SavingWindow::Finish() { finished_ = true; }

}  // namespace holvan
