#pragma once

#include <QStringList>
#include <optional>

#include "editor/entry_list.h"
#include "editor/line_lister.h"
#include "editor/memory_page.h"

namespace holvan::editor {

/// A page that lists the lines of its file: entries changed one at a time
/// (変更…, Enter, a double click) and removed many at once (削除, Delete),
/// and, where the file takes new ones, added (追加…). Its buttons are named
/// "add_<noun>_button", "change_<noun>_button" and "remove_<noun>_button",
/// its list "<noun>s_list".
class ListPage : public MemoryPage {
 public:
  bool GoToLine(int32_t line) override;
  bool Listing() const override { return lister_->running(); }
  void StopListing() override { lister_->Stop(); }

 protected:
  /// title: what the list is called, for screen readers.
  ListPage(memory::MemoryFile file, MemoryEdits& edits, QWidget* parent,
           const char* noun, const QString& title, QStringList headers,
           bool adds);

  EntryList* list() { return list_; }
  /// The memory last shown.
  const memory::MemoryFolder& memory() const { return *memory_; }
  /// Lists the entries of memory's file that search finds, each row made by
  /// row_of; on a hidden page, once it is shown, so that a million entries
  /// are listed in one page at a time.
  void ShowRows(const memory::MemoryFolder& memory, const Search& search,
                EntryModel::RowOf row_of);

  /// Asks for a new entry and adds it.
  virtual void Add() {}
  /// Asks for the current entry's new texts and changes it.
  virtual void Change() = 0;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  /// A listing that waits for the page to be shown.
  struct Unlisted {
    Search search;
    EntryModel::RowOf row_of;
  };

  void Remove();
  /// Lists what waits to be listed.
  void ListUnlisted();

  EntryList* list_;
  LineLister* lister_;
  const memory::MemoryFolder* memory_ = nullptr;
  std::optional<Unlisted> unlisted_;
};

}  // namespace holvan::editor
