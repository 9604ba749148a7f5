// Whole conversations: arbitrary stores, then arbitrary lines and ticks, with
// the invariants checked after every event and the saved files loaded back at
// the close.
//
// Input: sections (see support/sections.h) "brain.dat", "dic.dat", "res.dat",
// "holv.dat" and "diary.dat" are the files present at start; "script" holds
// one event per line: "/tick", "/close", "/select B L" (the user's selection
// in UTF-16 units), "/seed N", or a typed line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/companion.h"
#include "conversation/turn.h"
#include "errors/error.h"
#include "store/data_files.h"
#include "support/check.h"
#include "support/fake_platform.h"
#include "support/fuzz_view.h"
#include "support/scratch_dir.h"
#include "support/sections.h"
#include "support/store_entries.h"
#include "text/cp932.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace {

using namespace holvan;
using namespace holvan::literals;
using holvan::testing::LinesOf;

constexpr const char* kFiles[] = {"brain.dat", "dic.dat", "res.dat", "holv.dat",
                                  "diary.dat"};

std::set<std::string> Entries(const std::string& path) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

uint32_t Number(std::string_view text) {
  uint32_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10u + static_cast<uint32_t>(c - '0');
  }
  return n;
}

// Runs one handler; the program's errors end it and the run goes on.
template <typename Handler>
bool Run(Handler handler) {
  try {
    handler();
    return true;
  } catch (const Error&) {
    return false;
  }
}

// What the checks after an event compare the stores with.
struct StoresBefore {
  int32_t brain;
  int32_t dictionary;
  std::vector<NarrowText> phrase_log;
};

StoresBefore Before(const Stores& stores) {
  return {stores.brain.Count(), stores.dictionary.Count(),
          LinesOf(stores.phrase_log)};
}

// The store invariants that hold after every event.
void CheckStores(const Stores& stores, const StoresBefore& before) {
  HOLVAN_CHECK(stores.brain.Count() >= before.brain);
  for (int32_t i = 0; i < stores.brain.Count(); ++i) {
    stores.brain.Key(i);
    stores.brain.Value(i);
  }
  HOLVAN_CHECK(stores.dictionary.Count() >= before.dictionary);
  for (int32_t i = 0; i < stores.dictionary.Count(); ++i) {
    stores.dictionary.Key(i);
    stores.dictionary.Value(i);
  }
  // The phrase log only grows, by at most the one typed line.
  const auto logged = static_cast<int32_t>(before.phrase_log.size());
  HOLVAN_CHECK(stores.phrase_log.Count() >= logged);
  HOLVAN_CHECK(stores.phrase_log.Count() <= logged + 1);
  for (int32_t i = 0; i < logged; ++i) {
    HOLVAN_CHECK(stores.phrase_log.Get(i) ==
                 before.phrase_log[static_cast<std::size_t>(i)]);
  }
}

// After a successful close, the next start finds what this run kept.
void CheckReload(const fuzz::ScratchDir& dir, const Companion& companion,
                 const std::map<std::string, std::string>& files) {
  const Stores& stores = companion.stores();
  const Profile& profile = companion.state().profile;
  Stores again;
  const Profile next = LoadStores(dir.path(), again);
  if (files.count("brain.dat") == 1) {
    HOLVAN_CHECK(again.brain.Count() == stores.brain.Count());
    for (int32_t i = 0; i < stores.brain.Count(); ++i) {
      // A key holding "＝" splits at it when read back.
      if (ToWide(stores.brain.Key(i)).find(u'＝') != WideText::npos) continue;
      HOLVAN_CHECK(again.brain.Key(i) == stores.brain.Key(i));
      HOLVAN_CHECK(again.brain.Value(i) == stores.brain.Value(i));
    }
  }
  if (files.count("res.dat") == 1) {
    HOLVAN_CHECK(LinesOf(again.phrase_log) == LinesOf(stores.phrase_log));
  }
  if (files.count("holv.dat") == 1) {
    HOLVAN_CHECK(next.user_name == profile.user_name.substr(0, 4096));
    HOLVAN_CHECK(next.visit_count == WrappingIncrement(profile.visit_count));
    HOLVAN_CHECK(next.mood == profile.mood);
    HOLVAN_CHECK(next.angry_exit_count == profile.angry_exit_count);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const fuzz::ScratchDir& dir = fuzz::ScratchDir::Get();
  const std::map<std::string, std::string> sections =
      fuzz::SplitSections(input);
  std::map<std::string, std::string> files = dir.PlaceFiles(sections, kFiles);
  const auto script_section = sections.find("script");
  const std::string script =
      script_section == sections.end() ? "" : script_section->second;
  const std::set<std::string> present = Entries(dir.path());

  fuzz::FuzzView view;
  testing::FakePlatform platform;
  platform.folder = dir.path();
  platform.now = {2026, 12, 5, 15, 7, 9, 0};
  size_t start = 0;
  if (script.compare(0, 6, "/seed ") == 0) {
    platform.seed = Number(std::string_view(script).substr(6));
    start = std::min(script.find('\n'), script.size()) + 1;
  }
  Companion companion(view, platform);
  bool closed = false;
  // The close as a front end runs it; the run ends once it has succeeded.
  const auto close = [&] { closed = Run([&] { companion.Close(); }); };
  Run([&] { companion.Start(); });

  while (start <= script.size() && !closed) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(start, end - start);
    start = end + 1;

    const StoresBefore before = Before(companion.stores());
    const NarrowText diary_before = dir.Read("diary.dat");
    bool diary_may_change = false;
    if (line == "/tick") {
      if (view.IdleRemarksEnabled()) Run([&] { companion.IdleTick(); });
    } else if (line == "/close") {
      close();
    } else if (line.compare(0, 8, "/select ") == 0) {
      const size_t space = line.find(' ', 8);
      view.selection.begin = Number(std::string_view(line).substr(8));
      view.selection.length =
          space == std::string::npos
              ? 0
              : Number(std::string_view(line).substr(space + 1));
    } else {
      // An input line holds no zero byte; a CR in it becomes a space at the
      // intake.
      std::erase(line, '\0');
      diary_may_change =
          companion.state().mode == Mode::kDiary && line == "セーブ"_sj;
      closed =
          RunTurn(
              companion, line,
              [](const std::function<void()>& event) { return Run(event); },
              [&] { companion.Close(); })
              .closed;
      if (!line.empty()) {
        std::replace(line.begin(), line.end(), '\r', ' ');
        HOLVAN_CHECK(companion.stores().phrase_log.Contains(line));
      }
    }

    CheckStores(companion.stores(), before);
    // Between start and close only the diary's save command writes, and only
    // "diary.dat"; nothing else appears in the folder.
    if (!closed) {
      for (const char* name : kFiles) {
        if (std::string(name) == "diary.dat") continue;
        auto it = files.find(name);
        if (it != files.end()) HOLVAN_CHECK(dir.Read(name) == it->second);
      }
      if (!diary_may_change)
        HOLVAN_CHECK(dir.Read("diary.dat") == diary_before);
    }
    std::set<std::string> now = Entries(dir.path());
    now.erase("diary.dat");
    std::set<std::string> expected = present;
    expected.erase("diary.dat");
    HOLVAN_CHECK(now == expected);
  }

  if (!closed) close();
  HOLVAN_CHECK(closed);
  HOLVAN_CHECK(view.closing_messages == 1);
  HOLVAN_CHECK(dir.Read("dic.dat") ==
               (files.count("dic.dat") ? files["dic.dat"] : ""));
  CheckReload(dir, companion, files);
  return 0;
}
