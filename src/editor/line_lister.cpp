#include "editor/line_lister.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "memory/listed_lines.h"

namespace holvan::editor {
namespace {

/// Lines searched at once: a few milliseconds' work, which a short file
/// never exceeds.
constexpr int32_t kAtOnce = 1 << 13;
/// Lines searched beside the window between two additions to the list.
constexpr int32_t kPerAddition = 1 << 17;
/// Lines searched between two looks at the cancel flag.
constexpr int32_t kPerLook = 1 << 12;
/// The searching thread's nice value.
constexpr int kNiceness = 10;

/// The lines (counted from 1) in [from, to) that finder lists.
void Find(const memory::FileLines& lines, memory::MemoryFile file,
          memory::TextFinder& finder, int32_t from, int32_t to,
          std::vector<int32_t>& found) {
  for (int32_t i = from; i < to; ++i) {
    if (memory::Listed(file, lines.Text(i), finder)) found.push_back(i + 1);
  }
}

}  // namespace

LineLister::LineLister(EntryList* list, memory::MemoryFile file)
    : QObject(list),
      list_(list),
      file_(file),
      cancelled_(std::make_shared<std::atomic<bool>>(false)) {
  pool_.setMaxThreadCount(1);
}

LineLister::~LineLister() { Stop(); }

void LineLister::Start(const memory::FileLines& lines, const Search& search,
                       EntryModel::RowOf row_of) {
  // The search under way ends at its next look, without being waited for.
  cancelled_->store(true);
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  const uint64_t listing = ++listing_;
  search_ = search;
  std::vector<int32_t> found;
  const int32_t at_once = search ? std::min(lines.Count(), kAtOnce) : 0;
  if (search) {
    memory::TextFinder finder(*search);
    Find(lines, file_, finder, 0, at_once, found);
  }
  running_ = at_once < lines.Count() && search;
  list_->SetRows(std::move(found), std::move(row_of), !running_);
  if (!running_) return;
  pool_.start([this, &lines, file = file_, pattern = *search, at_once, listing,
               cancelled = cancelled_] {
    // Behind the window's own thread, which typing must never wait for.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kNiceness);
    memory::TextFinder finder(pattern);
    std::vector<int32_t> found;
    for (int32_t from = at_once; from < lines.Count();) {
      const int32_t to = std::min(lines.Count(), from + kPerLook);
      if (cancelled->load()) return;
      Find(lines, file, finder, from, to, found);
      from = to;
      const bool complete = from == lines.Count();
      if (complete || (from % kPerAddition == 0 && !found.empty())) {
        QMetaObject::invokeMethod(
            this,
            [this, listing, found = std::move(found), complete] {
              Found(listing, found, complete);
            },
            Qt::QueuedConnection);
        found.clear();
      }
    }
  });
}

void LineLister::Found(uint64_t listing, const std::vector<int32_t>& lines,
                       bool complete) {
  if (listing != listing_) return;
  list_->AddRows(lines, complete);
  if (complete) running_ = false;
}

void LineLister::Stop() {
  cancelled_->store(true);
  pool_.waitForDone();
  // What it found and has not yet added is dropped.
  ++listing_;
  running_ = false;
}

bool LineLister::Lists(const memory::FileLines& lines, int32_t line) const {
  if (!search_ || line < 1 || line > lines.Count()) return false;
  memory::TextFinder finder(*search_);
  return memory::Listed(file_, lines.Text(line - 1), finder);
}

}  // namespace holvan::editor
