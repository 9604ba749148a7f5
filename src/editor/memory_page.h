#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "memory/memory_files.h"
#include "memory/memory_folder.h"

class QPushButton;

namespace holvan::editor {

class MemoryEdits;

/// A search: the code page 932 text that the entries shown hold, empty for
/// all; nothing when the text typed holds a character the code page lacks,
/// which no entry can hold.
using Search = std::optional<NarrowText>;

/// A tab of the window: the entries of one memory file, and the buttons that
/// edit them.
class MemoryPage : public QWidget {
 public:
  MemoryPage(memory::MemoryFile file, MemoryEdits& edits, QWidget* parent);

  memory::MemoryFile file() const { return file_; }

  /// Shows the memory's entries that search finds.
  virtual void Show(const memory::MemoryFolder& memory,
                    const Search& search) = 0;
  /// Makes the entry on line of the file current; false when it is not shown.
  virtual bool GoToLine(int32_t line) = 0;

  /// Whether entries found are still being added to the lists.
  virtual bool Listing() const { return false; }
  /// Ends the listing under way: the memory may change after.
  virtual void StopListing() {}

  /// Enables the editing controls that fit what is selected, or none.
  virtual void SetEditable(bool editable);

  /// The edit that what is typed in the page but not yet applied would
  /// make, or none: work that 保存 and the close do not leave behind.
  virtual std::function<void(memory::MemoryFolder&)> TypedEdit() const {
    return {};
  }

 protected:
  MemoryEdits& edits() { return edits_; }
  bool editable() const { return editable_; }

  /// A push button that edits: enabled while the page is editable and
  /// needed() holds (always when not given).
  QPushButton* AddEditButton(const QString& text, const char* name,
                             std::function<void()> press,
                             std::function<bool()> needed = {});
  /// Brings each editing button up to date with the selection.
  void UpdateButtons();

 private:
  struct EditButton {
    QPushButton* button;
    std::function<bool()> needed;
  };

  memory::MemoryFile file_;
  MemoryEdits& edits_;
  bool editable_ = false;
  std::vector<EditButton> buttons_;
};

}  // namespace holvan::editor
