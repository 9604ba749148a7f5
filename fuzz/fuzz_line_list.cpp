// The line reader of the data files: how file bytes split into the phrase
// log's lines, and that lines written back read back the same, through real
// files, with lines added after the file's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error.h"
#include "files/atomic_save.h"
#include "store/phrase_log.h"
#include "support/check.h"
#include "support/scratch_dir.h"
#include "support/store_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  using holvan::testing::FileLines;
  using holvan::testing::LinesOf;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const fuzz::ScratchDir& dir = fuzz::ScratchDir::Get();
  const std::string path = dir.File("list.dat");
  dir.Write("list.dat", bytes);
  PhraseLog log;
  log.Add("stale");
  log.LoadFromFile(path);
  const std::vector<NarrowText> lines = LinesOf(log);
  HOLVAN_CHECK(lines == FileLines(bytes));

  // Reading stops at the first zero byte; no line holds a break or a zero.
  const std::string_view read = bytes.substr(0, bytes.find('\0'));
  size_t kept = 0;
  for (const NarrowText& line : lines) {
    HOLVAN_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) ==
                 NarrowText::npos);
    HOLVAN_CHECK(log.Contains(line));
    kept += line.size();
  }
  // Every byte that is not a break is in exactly one line, in order.
  std::string content;
  for (char c : read) {
    if (c != '\r' && c != '\n') content += c;
  }
  HOLVAN_CHECK(content.size() == kept);
  std::string joined;
  for (const NarrowText& line : lines) joined += line;
  HOLVAN_CHECK(joined == content);
  // One line per break (CR LF counting once), plus a last line without one.
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

  // Lines added after the file's, then saved and loaded again: the same log.
  std::vector<NarrowText> expected = lines;
  for (const NarrowText& line : FileLines(bytes.substr(bytes.size() / 2))) {
    log.Add(line);
    expected.push_back(line);
  }
  HOLVAN_CHECK(LinesOf(log) == expected);
  {
    AtomicFileWriter writer(path);
    log.lines().Write(writer);
    writer.Commit();
  }
  std::string written;
  for (const NarrowText& line : expected) written += line + "\r\n";
  HOLVAN_CHECK(dir.Read("list.dat") == written);
  PhraseLog again;
  again.LoadFromFile(path);
  HOLVAN_CHECK(LinesOf(again) == expected);

  // Indexes outside the log raise the list-index error.
  for (int32_t i : {-1, again.Count()}) {
    bool raised = false;
    try {
      again.Get(i);
    } catch (const Error&) {
      raised = true;
    }
    HOLVAN_CHECK(raised);
  }
  return 0;
}
