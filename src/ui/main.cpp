// holvan: the companion in its desktop window, working in the current folder.

#include <QApplication>

#include "ui/main_form.h"
#include "ui/run_window.h"
#include "ui/session_end.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The name is also the name shown for the program. A display name is not
  // set: the platform would append it to every window caption, diary mode's
  // included.
  QApplication::setApplicationName(QStringLiteral("Holvan"));
  holvan::TForm1 form1;
  holvan::SaveOnSessionEnd(form1);
  return holvan::RunWindow(form1);
}
