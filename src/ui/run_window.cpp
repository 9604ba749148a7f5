#include "ui/run_window.h"

#include <QApplication>
#include <QTimer>

#include "ui/main_form.h"

namespace holvan {

int RunWindow(TForm1& form1) {
  // An exit asked for before the loop runs would be forgotten by it.
  QTimer::singleShot(0, &form1, &TForm1::Start);
  return QApplication::exec();
}

}  // namespace holvan
