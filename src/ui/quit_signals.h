#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <initializer_list>
#include <utility>
#include <vector>

namespace holvan {

/// Turns the termination signals into a Qt signal on the event loop: the
/// handler only writes a byte to a pipe that a socket notifier watches.
/// One instance at a time.
class QuitSignals : public QObject {
  Q_OBJECT

 public:
  /// Catches each of signal_numbers until destroyed.
  explicit QuitSignals(std::initializer_list<int> signal_numbers,
                       QObject* parent = nullptr);
  ~QuitSignals() override;

 signals:
  /// One of the signals arrived.
  void Received();

 private:
  void Drain();

  QSocketNotifier* notifier_ = nullptr;
  std::vector<std::pair<int, struct sigaction>> previous_;
};

}  // namespace holvan
