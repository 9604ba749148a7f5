#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/entry_list.h"
#include "editor/memory_page.h"
#include "memory/file_lines.h"

namespace holvan::editor {

/// Lists in an EntryList the lines of a memory file that a search finds
/// (memory::Listed): those among the first lines at once, the rest found
/// beside the window and added as they come, so that typing never waits for
/// a long file. A new listing cancels the one under way.
class LineLister : public QObject {
 public:
  LineLister(EntryList* list, memory::MemoryFile file);
  ~LineLister() override;

  /// Lists what search finds in lines, each row made by row_of; nothing
  /// when there is no search. lines stay unchanged until Stop.
  void Start(const memory::FileLines& lines, const Search& search,
             EntryModel::RowOf row_of);
  /// Cancels the listing under way and waits for it to end, so that its
  /// lines may change.
  void Stop();
  /// Whether lines are still being searched or added.
  bool running() const { return running_; }
  /// Whether the last search lists line (counted from 1) of lines.
  bool Lists(const memory::FileLines& lines, int32_t line) const;

 private:
  /// Adds lines found by listing, unless a newer one has started.
  void Found(uint64_t listing, const std::vector<int32_t>& lines,
             bool complete);

  EntryList* list_;
  memory::MemoryFile file_;
  Search search_;
  /// One search at a time beside the window.
  QThreadPool pool_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  uint64_t listing_ = 0;
  bool running_ = false;
};

}  // namespace holvan::editor
