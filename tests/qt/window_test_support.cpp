#include "qt/window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>

#include "text/cp932.h"

namespace holvan::testing {

ModalWatcher::ModalWatcher(std::function<bool(QWidget*)> ready)
    : ready_(std::move(ready)) {
  connect(&timer_, &QTimer::timeout, this, &ModalWatcher::Look);
  timer_.start(10);
}

void ModalWatcher::Look() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) return;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen.push_back({QString::fromLatin1(box->metaObject()->className()),
                    box->windowTitle(), box->text(), box->icon()});
    box->buttons().first()->click();
    return;
  }
  if (ready_ && !ready_(modal)) return;
  seen.push_back({QString::fromLatin1(modal->metaObject()->className()),
                  modal->windowTitle(), QString(), QMessageBox::NoIcon});
  modal->close();
}

WorkFolder::WorkFolder() : previous_(QDir::currentPath()) {
  QDir::setCurrent(folder_.path());
}

WorkFolder::~WorkFolder() { QDir::setCurrent(previous_); }

QString WorkFolder::File(const QString& name) const {
  return folder_.filePath(name);
}

void WorkFolder::WriteBytes(const QString& name, const std::string& bytes) {
  QFile file(File(name));
  if (file.open(QIODevice::WriteOnly)) {
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
}

void WorkFolder::WriteLines(const QString& name,
                            const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Sj(line) + "\r\n";
  WriteBytes(name, bytes);
}

std::string WorkFolder::ReadBytes(const QString& name) const {
  QFile file(File(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

void WorkFolder::LinkUnreadable(const QString& name) {
  QFile::link(QStringLiteral("/proc/self/mem"), File(name));
}

void CopyStarterFiles(const WorkFolder& folder) {
  const QDir starter(QStringLiteral(HOLVAN_STARTER_DATA));
  for (const QString& name :
       starter.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
    QFile::copy(starter.filePath(name), folder.File(name));
  }
}

void WriteStoresThatStopAtTheDictionary(WorkFolder& folder) {
  folder.WriteBytes(QStringLiteral("brain.dat"), Sj("猫＝動物\n"));
  folder.WriteBytes(QStringLiteral("res.dat"), Sj("前の言葉\n"));
  folder.WriteBytes(QStringLiteral("holv.dat"), Sj("太郎\n3\n"));
  folder.LinkUnreadable(QStringLiteral("dic.dat"));
}

bool OnlyTheReadStoreSaved(const WorkFolder& folder) {
  return folder.ReadBytes(QStringLiteral("brain.dat")) == Sj("猫＝動物\r\n") &&
         folder.ReadBytes(QStringLiteral("res.dat")) == Sj("前の言葉\n") &&
         folder.ReadBytes(QStringLiteral("holv.dat")) == Sj("太郎\n3\n");
}

QList<QColor> ColoursShown(QWidget* root) {
  QList<QWidget*> widgets = {root};
  for (QWidget* child : root->findChildren<QWidget*>()) {
    if (!child->isWindow()) widgets.append(child);
  }
  QList<QColor> colours;
  for (const QWidget* widget : widgets) {
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole) continue;
        colours.append(widget->palette().color(
            group, static_cast<QPalette::ColorRole>(role)));
      }
    }
  }
  return colours;
}

QList<QColor> UnderDarkTheme(const std::function<QList<QColor>()>& shown) {
  const QPalette theme = QApplication::palette();
  QPalette dark(QColor(0x30, 0x30, 0x30));
  dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
  dark.setColor(QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
  QApplication::setPalette(dark);
  const QList<QColor> colours = shown();
  QApplication::setPalette(theme);
  return colours;
}

void Commit(QWidget* widget, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(widget, &event);
}

}  // namespace holvan::testing
