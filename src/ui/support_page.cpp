#include "ui/support_page.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>

namespace holvan {

QUrl SupportPageUrl() {
  const QStringList folders = {QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/" HOLVAN_SUPPORT_FROM_BIN),
                               QStringLiteral(HOLVAN_SUPPORT_SOURCE_DIR)};
  for (const QString& folder : folders) {
    const QFileInfo page(folder + QStringLiteral("/index.html"));
    if (page.isFile()) return QUrl::fromLocalFile(page.canonicalFilePath());
  }
  return {};
}

void OpenSupportPage() {
  const QUrl page = SupportPageUrl();
  if (page.isValid()) QDesktopServices::openUrl(page);
}

}  // namespace holvan
