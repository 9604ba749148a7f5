#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string_view>

class QWidget;

namespace holvan {

/// Where the window of program that works on folder listens for a request to
/// come to the front: a socket in the user's runtime folder, named by the
/// program and the folder's real path.
QString RaisingChannel(std::string_view program, std::string_view folder);

/// Asks the window listening on channel to come to the front; true once it
/// has said that it did. False at once when none listens.
bool AskToRaise(const QString& channel);

/// Brings window to the front whenever another start of the program on the
/// same folder asks (AskToRaise), for as long as it lives. A socket left by
/// a program that ended without removing it is taken over; one that a
/// running window answers on is left to it.
class RaiseOnRequest : public QObject {
 public:
  RaiseOnRequest(QWidget* window, const QString& channel);

 private:
  void Answer();

  QWidget* window_;
  QLocalServer server_;
};

}  // namespace holvan
