#include "qt/desktop_identity.h"

#include <QGuiApplication>

namespace holvan {

QIcon HolvanIcon() {
  QIcon built_in;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    built_in.addFile(QStringLiteral(":/icons/%1x%1/apps/%2.png")
                         .arg(size)
                         .arg(QLatin1String(kDesktopEntryName)));
  }
  return QIcon::fromTheme(QLatin1String(kDesktopEntryName), built_in);
}

void SetDesktopIdentity() {
  // The name shown for the program, and the window's class on X11. A display
  // name is not set: the platform would append it to every window caption,
  // diary mode's included.
  QGuiApplication::setApplicationName(QStringLiteral("Holvan"));
  QGuiApplication::setDesktopFileName(QLatin1String(kDesktopEntryName));
  QGuiApplication::setWindowIcon(HolvanIcon());
}

}  // namespace holvan
