#include "ui/support_page.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStringList>

#include "qt/message_box.h"

namespace holvan {

QUrl SupportPageUrl() {
  const QString share = QCoreApplication::applicationDirPath() +
                        QStringLiteral("/" HOLVAN_SHARE_FROM_BIN);
  const QStringList folders = {share + QStringLiteral("/help"), share,
                               QStringLiteral(HOLVAN_INSTALLED_HELP_DIR),
                               QStringLiteral(HOLVAN_INSTALLED_SUPPORT_DIR)};
  for (const QString& folder : folders) {
    const QFileInfo page(folder + QStringLiteral("/index.html"));
    if (page.isFile()) return QUrl::fromLocalFile(page.canonicalFilePath());
  }
  return {};
}

namespace {

void ShowNoBrowserBox(QWidget* parent, const QUrl& page) {
  ShowBox(parent, QMessageBox::Information, QStringLiteral("Holvan"),
          page.isValid()
              ? QStringLiteral("ヘルプのページをブラウザで開けませんでした。"
                               "次のファイルをブラウザで開いてください:\n") +
                    page.toLocalFile()
              : QStringLiteral("ヘルプのページが見つかりません。"
                               "holvan-common のパッケージに入っています。"));
}

}  // namespace

void OpenSupportPageInBrowser(QWidget* parent) {
  const QUrl page = SupportPageUrl();
  if (!page.isValid()) {
    ShowNoBrowserBox(parent, page);
    return;
  }
  // xdg-open ends when the browser has the page, or at once, unsuccessful,
  // when there is no browser. One still running when the program ends is
  // stopped there; the browser it started stays.
  auto* opener = new QProcess(QCoreApplication::instance());
  const QPointer<QWidget> box_parent(parent);
  const auto done = [opener, box_parent, page](bool opened) {
    opener->deleteLater();
    if (!opened && box_parent) ShowNoBrowserBox(box_parent, page);
  };
  QObject::connect(opener, &QProcess::finished, opener,
                   [done](int status, QProcess::ExitStatus how) {
                     done(how == QProcess::NormalExit && status == 0);
                   });
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [done](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) done(false);
                   });
  opener->setProcessChannelMode(QProcess::ForwardedChannels);
  opener->start(QStringLiteral("xdg-open"), {page.toString()});
}

}  // namespace holvan
