#include "ui/support_page.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>

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

void OpenSupportPageInBrowser() {
  const QUrl page = SupportPageUrl();
  if (page.isValid()) QDesktopServices::openUrl(page);
}

}  // namespace holvan
