#include "ui/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <csignal>

#include "ui/main_form.h"
#include "ui/quit_signals.h"

namespace holvan {

void SaveOnSessionEnd(TForm1& form) {
  // The session manager may end the process right after these, so they
  // save at once, in the emitting call.
  QObject::connect(
      qGuiApp, &QGuiApplication::commitDataRequest, &form,
      [&form](QSessionManager&) { form.SaveQuietly(); }, Qt::DirectConnection);
  QObject::connect(
      qGuiApp, &QCoreApplication::aboutToQuit, &form,
      [&form] { form.SaveQuietly(); }, Qt::DirectConnection);
  auto* quit_signals = new QuitSignals({SIGTERM, SIGHUP}, &form);
  QObject::connect(quit_signals, &QuitSignals::Received, &form,
                   &TForm1::SaveAndQuit);
}

}  // namespace holvan
