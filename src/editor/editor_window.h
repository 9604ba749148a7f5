#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/memory_edits.h"
#include "memory/memory_folder.h"
#include "os/folder_lock.h"
#include "qt/program_end.h"
#include "qt/saving_window.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace holvan {
class InputLine;
}

namespace holvan::editor {

class MemoryPage;
class StatusLine;

/// 「記憶の整理」: the dictionary, learned words, logged phrases and name of a
/// memory folder, searched and edited, with undo of the edits made since the
/// last save, 保存, 閉じる and the check report. It holds the folder's lock
/// for as long as it has the memory open for editing, so that Holvan cannot
/// start meanwhile and later write over what was saved; while another program
/// holds the lock, or where the folder cannot be locked, the memory opens to
/// look at only, and a bar says why.
class EditorWindow : public SavingWindow, public MemoryEdits {
 public:
  /// dir: the memory folder; by default the one holvan-start uses.
  explicit EditorWindow(std::optional<std::string> dir,
                        QWidget* parent = nullptr);
  ~EditorWindow() override;

  /// Reads the memory, then places and shows the window.
  void Start() override;

  /// A refused edit shows its box over the dialog it came from, if any.
  bool Edit(const std::function<void(memory::MemoryFolder&)>& edit) override;
  void TypedChanged() override;

  /// Whether the program ends with edits it could not write: the last save
  /// without asking failed, and no save or answer at a close came after.
  bool edits_lost() const { return edits_lost_; }

  /// The memory as read, with the edits made; nullptr when it could not be
  /// read.
  const memory::MemoryFolder* memory() const {
    return memory_ ? &*memory_ : nullptr;
  }
  /// Whether entries that the search finds are still being listed.
  bool searching() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  /// Shows the tab step tabs after the current one, round the ends.
  void StepTab(int step);
  QWidget* BuildReadOnlyBar();
  void Place();

  /// Takes the folder's lock and reads the memory: for editing when the lock
  /// is ours, else to look at only. reloading: asked for by 再読み込み.
  void Load(bool reloading);
  /// Ends the listings under way, before the memory changes.
  void StopListing();
  /// Whether the memory is open for editing.
  bool Editable() const;
  /// Shows the memory as it stands: the lists as the search finds them, the
  /// bar, the buttons and the title.
  void ShowMemory();
  /// Shows whether there is work to save: the title's star, 保存, 元に戻す
  /// and the status line.
  void ShowUnsaved();
  /// The edits that the pages hold typed but not yet applied.
  std::vector<std::function<void(memory::MemoryFolder&)>> TypedEdits() const;
  /// The files that unsaved edits, applied or typed, would change.
  std::vector<memory::MemoryFile> UnsavedWork() const;
  void Undo();
  /// Applies what is typed, then writes the unsaved edits; a file that
  /// another program changed meanwhile is offered to be read again, with
  /// the edits made again. Returns whether all were written.
  bool Save();
  void Check();

  /// Takes the phrases the saves erased out of the backups too; returns what
  /// the status line says of it (the note as it was when there were none).
  QString ErasePhrasesFromBackups();

  /// Saves the unsaved edits without asking: they are the user's deliberate
  /// work, which no one may be there to be asked about.
  std::vector<Error> SaveWork() override;

  std::optional<std::string> dir_;
  std::optional<FolderLock> lock_;
  std::optional<memory::MemoryFolder> memory_;
  /// Why the memory could not be read, when it could not.
  QString load_failure_;
  /// What to do before 再読み込み, shown under the read-only reason.
  QString read_only_hint_;
  /// What the status line says of the last 再読み込み that left the memory
  /// read-only, or of what the last save did to the backups.
  QString note_;

  QWidget* read_only_bar_ = nullptr;
  QLabel* reason_label_ = nullptr;
  InputLine* search_box_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::vector<MemoryPage*> pages_;
  QPushButton* undo_button_ = nullptr;
  QPushButton* check_button_ = nullptr;
  QPushButton* save_button_ = nullptr;
  StatusLine* status_label_ = nullptr;

  bool edits_lost_ = false;
};

}  // namespace holvan::editor
