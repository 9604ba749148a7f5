#include "ui/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <csignal>

#include "ui/main_window.h"
#include "ui/quit_signals.h"

namespace holvan {

void SaveOnSessionEnd(MainWindow& window) {
  // The session manager may end the process right after these, so they
  // save at once, in the emitting call.
  QObject::connect(
      qGuiApp, &QGuiApplication::commitDataRequest, &window,
      [&window](QSessionManager&) { window.SaveQuietly(); },
      Qt::DirectConnection);
  QObject::connect(
      qGuiApp, &QCoreApplication::aboutToQuit, &window,
      [&window] { window.SaveQuietly(); }, Qt::DirectConnection);
  auto* quit_signals = new QuitSignals({SIGTERM, SIGHUP}, &window);
  QObject::connect(quit_signals, &QuitSignals::Received, &window,
                   &MainWindow::SaveAndQuit);
}

}  // namespace holvan
