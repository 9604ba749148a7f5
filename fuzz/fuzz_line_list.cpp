// The line-list reader: how file bytes split into entries, and that entries
// written back read back the same, through real files too (as the phrase log
// reads and writes them).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error.h"
#include "files/line_list.h"
#include "store/phrase_log.h"
#include "support/check.h"
#include "support/scratch_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<NarrowText> lines = SplitFileLines(bytes);

  // Reading stops at the first zero byte; no entry holds a break or a zero.
  const std::string_view read = bytes.substr(0, bytes.find('\0'));
  HOLVAN_CHECK(SplitFileLines(read) == lines);
  size_t kept = 0;
  for (const NarrowText& line : lines) {
    HOLVAN_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) ==
                 NarrowText::npos);
    kept += line.size();
  }
  // Every byte that is not a break is in exactly one entry, in order.
  std::string content;
  for (char c : read) {
    if (c != '\r' && c != '\n') content += c;
  }
  HOLVAN_CHECK(content.size() == kept);
  std::string joined;
  for (const NarrowText& line : lines) joined += line;
  HOLVAN_CHECK(joined == content);
  // One entry per break (CR LF counting once), plus a last line without one.
  size_t breaks = 0;
  for (size_t i = 0; i < read.size(); ++i) {
    if (read[i] == '\n' ||
        (read[i] == '\r' && (i + 1 == read.size() || read[i + 1] != '\n'))) {
      ++breaks;
    }
  }
  const bool open_end =
      !read.empty() && read.back() != '\r' && read.back() != '\n';
  HOLVAN_CHECK(lines.size() == breaks + (open_end ? 1 : 0));

  // Saved and loaded again through a file (as the phrase log is), the list
  // is unchanged.
  const fuzz::ScratchDir& dir = fuzz::ScratchDir::Get();
  const std::string path = dir.File("list.dat");
  dir.Write("list.dat", bytes);
  PhraseLog log;
  log.Add("stale");
  log.LoadFromFile(path);
  const LineList& list = log.entries();
  HOLVAN_CHECK(list.entries() == lines);
  list.SaveToFile(path);
  std::string expected;
  for (const NarrowText& line : lines) expected += line + "\r\n";
  HOLVAN_CHECK(dir.Read("list.dat") == expected);
  PhraseLog again;
  again.LoadFromFile(path);
  HOLVAN_CHECK(again.entries().entries() == lines);

  // Indexes outside the list raise the list-index error and change nothing.
  LineList edited;
  edited.Assign(lines);
  for (int32_t i : {-1, edited.Count()}) {
    bool raised = false;
    try {
      edited.Put(i, "x");
    } catch (const Error&) {
      raised = true;
    }
    HOLVAN_CHECK(raised);
  }
  HOLVAN_CHECK(edited.entries() == lines);
  return 0;
}
