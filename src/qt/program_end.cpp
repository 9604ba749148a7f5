#include "qt/program_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <memory>

#include "os/signal_bridge.h"

namespace holvan {

void SaveAtProgramEnd(SavingWindow& window) {
  // The desktop session's manager may end the process right after these, so
  // they save at once, in the emitting call.
  QObject::connect(
      qGuiApp, &QGuiApplication::commitDataRequest, &window,
      [&window](QSessionManager&) { window.SaveQuietly(); },
      Qt::DirectConnection);
  QObject::connect(
      qGuiApp, &QCoreApplication::aboutToQuit, &window,
      [&window] { window.SaveQuietly(); }, Qt::DirectConnection);
  // The connection owns the bridge, so the signals are caught for as long as
  // the window lives.
  auto bridge = std::make_shared<SignalBridge>(
      std::initializer_list<int>{SIGTERM, SIGHUP});
  if (bridge->fd() < 0) return;
  auto* notifier =
      new QSocketNotifier(bridge->fd(), QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window,
                   [bridge, &window] {
                     while (bridge->Take() != 0) {
                     }
                     window.SaveAndQuit();
                   });
}

}  // namespace holvan
