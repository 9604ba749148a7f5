// A second start of a window on a folder brings the running window to the
// front: the channel named by program and folder, the request answered,
// a socket left by an ended program taken over.

#include "qt/window_raising.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <cstring>
#include <future>

#include "qt/window_test_support.h"
#include "support/waiting.h"

namespace holvan::testing {
namespace {

// Asks on another thread, as a second program would, while this one's loop
// answers; whether the window said it came to the front.
bool AskFromAnotherStart(const QString& channel) {
  std::future<bool> asked =
      std::async(std::launch::async, [&] { return AskToRaise(channel); });
  (void)QTest::qWaitFor(
      [&] {
        return asked.wait_for(std::chrono::seconds(0)) ==
               std::future_status::ready;
      },
      kPatienceMs);
  return asked.get();
}

// Leaves at path the socket of a program that ended without removing it.
void LeaveStaleSocket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray bytes = QFile::encodeName(path);
  std::memcpy(address.sun_path, bytes.constData(), bytes.size());
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::close(fd);
}

class WindowRaisingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    runtime_ = std::make_unique<WorkFolder>();
    qputenv("XDG_RUNTIME_DIR", runtime_->File(QString()).toUtf8());
  }

  void ChannelsDifferByProgramAndFolderNotByItsName() {
    const std::string folder = runtime_->File(QString()).toStdString();
    QVERIFY(QDir().mkdir(runtime_->File(QStringLiteral("other"))));
    QVERIFY(QFile::link(runtime_->File(QString()),
                        runtime_->File(QStringLiteral("link"))));
    const QString channel = RaisingChannel("holvan", folder);
    QVERIFY(channel.startsWith(runtime_->File(QStringLiteral("holvan-"))));
    QCOMPARE(RaisingChannel("holvan", folder + "/link/"), channel);
    QVERIFY(RaisingChannel("holvan-memory-editor", folder) != channel);
    QVERIFY(RaisingChannel("holvan", folder + "/other") != channel);
  }

  // A minimised window comes back when asked; without a listener, or on a
  // socket its program left behind, the asking start hears nothing.
  void ARunningWindowComesToTheFront() {
    const QString channel = RaisingChannel("holvan", "/");
    QVERIFY(!AskToRaise(channel));
    LeaveStaleSocket(channel);
    QVERIFY(QFile::exists(channel));
    QVERIFY(!AskToRaise(channel));
    QWidget window;
    window.showMinimized();
    RaiseOnRequest raising(&window, channel);
    QVERIFY(AskFromAnotherStart(channel));
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
  }

 private:
  std::unique_ptr<WorkFolder> runtime_;
};

}  // namespace
}  // namespace holvan::testing

QTEST_MAIN(holvan::testing::WindowRaisingTest)
#include "window_raising_test.moc"
