#include "qt/window_raising.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QWidget>
#include <memory>
#include <string>

namespace holvan {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "raised\n";
// A running window answers from its event loop, which a busy machine may
// keep waiting; a start that gives up shows the busy folder's box instead.
constexpr int kAnswerMs = 10000;

// The folder's real path, so that every way of naming it meets; its own
// bytes when it cannot be resolved.
std::string RealPath(std::string_view folder) {
  const std::string path(folder);
  std::unique_ptr<char, decltype(&::free)> real(
      ::realpath(path.c_str(), nullptr), &::free);
  return real ? std::string(real.get()) : path;
}

// The user's runtime folder (private to the user); else the temporary
// folder, with the user's number in the name.
QString ChannelFolderAndPrefix() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) {
    return runtime + QStringLiteral("/holvan-");
  }
  return QDir::tempPath() + QStringLiteral("/holvan-%1-").arg(::getuid());
}

}  // namespace

QString RaisingChannel(std::string_view program, std::string_view folder) {
  const std::string real = RealPath(folder);
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray(real.data(), qsizetype(real.size())),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(32);
  return ChannelFolderAndPrefix() +
         QString::fromUtf8(program.data(), qsizetype(program.size())) +
         QLatin1Char('-') + QString::fromLatin1(digest);
}

bool AskToRaise(const QString& channel) {
  QLocalSocket socket;
  socket.connectToServer(channel);
  if (!socket.waitForConnected(kAnswerMs)) return false;
  socket.write(kRequest);
  if (!socket.waitForBytesWritten(kAnswerMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(kAnswerMs)) return false;
  }
  return socket.readLine() == kAnswer;
}

RaiseOnRequest::RaiseOnRequest(QWidget* window, const QString& channel)
    : window_(window) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(channel) &&
      server_.serverError() == QAbstractSocket::AddressInUseError) {
    if (AskToRaise(channel)) return;
    QLocalServer::removeServer(channel);
    server_.listen(channel);
  }
  connect(&server_, &QLocalServer::newConnection, this,
          &RaiseOnRequest::Answer);
}

void RaiseOnRequest::Answer() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() != kRequest) {
        socket->disconnectFromServer();
        return;
      }
      if (window_->isMinimized()) window_->showNormal();
      window_->raise();
      window_->activateWindow();
      socket->write(kAnswer);
      socket->flush();
    });
  }
}

}  // namespace holvan
