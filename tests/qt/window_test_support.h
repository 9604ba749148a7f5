#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPalette>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/file_faults.h"
#include "support/temp_dir.h"
#include "text/narrow_text.h"

namespace holvan::testing {

/// What a modal box or dialog showed.
struct SeenModal {
  QString class_name;
  QString title;
  QString text;  // a message box's text; empty for other dialogs
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

/// Dismisses each modal box or dialog that opens while it lives (a message
/// box with its first button, a dialog by closing it) and records it. A
/// dialog waits until ready(dialog) holds when ready is given.
class ModalWatcher : public QObject {
 public:
  explicit ModalWatcher(std::function<bool(QWidget*)> ready = {});

  std::vector<SeenModal> seen;

 private:
  void Look();

  std::function<bool(QWidget*)> ready_;
  QTimer timer_;
};

/// A fresh temporary folder made the current directory for its lifetime.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  /// The full path of name in the folder.
  QString File(const QString& name) const;
  /// Writes bytes as the file's whole content.
  void WriteBytes(const QString& name, const std::string& bytes);
  /// Writes the UTF-8 lines as code page 932, each followed by CR LF.
  void WriteLines(const QString& name, const std::vector<std::string>& lines);
  /// The file's bytes ("" when absent).
  std::string ReadBytes(const QString& name) const;
  /// Puts at name a link to the reading process's memory: a regular file
  /// whose reading fails even for root, its first page being never mapped.
  void LinkUnreadable(const QString& name);

 private:
  QTemporaryDir folder_;
  QString previous_;
};

/// Copies the starter data files, those that an install gives a new user,
/// into the folder.
void CopyStarterFiles(const WorkFolder& folder);

/// Writes data files with which start-up stops at dic.dat, which cannot be
/// read: brain.dat, read before it, and res.dat and holv.dat, never read,
/// each end in a lone LF, which a save turns into CR LF.
void WriteStoresThatStopAtTheDictionary(WorkFolder& folder);
/// Whether, of those files, brain.dat alone has been saved since.
bool OnlyTheReadStoreSaved(const WorkFolder& folder);

/// Every colour of root and the controls in it, in each state.
QList<QColor> ColoursShown(QWidget* root);

/// What shown() gives while the desktop's theme is a dark one.
QList<QColor> UnderDarkTheme(const std::function<QList<QColor>()>& shown);

/// Types text into the focused-or-not widget as an input method commits it.
void Commit(QWidget* widget, const QString& text);

}  // namespace holvan::testing
