// Loading each store file, then the exit's save and a second load: every line
// is cut without changing a byte, what a run keeps comes back unchanged, and
// "dic.dat" is only read.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "errors/error.h"
#include "store/data_files.h"
#include "support/check.h"
#include "support/scratch_dir.h"
#include "support/sections.h"
#include "support/store_entries.h"
#include "text/cp932.h"
#include "text/numbers.h"

namespace {

using namespace holvan;
using holvan::testing::FileLines;
using holvan::testing::LinesOf;
using holvan::testing::PairsOf;

constexpr const char* kFiles[] = {"brain.dat", "dic.dat", "res.dat",
                                  "holv.dat"};

// What each file's lines become in the stores.
void CheckLoaded(const std::map<std::string, std::string>& files,
                 const Stores& stores, const Profile& profile) {
  auto file = [&](const char* name) -> const std::string* {
    auto it = files.find(name);
    return it == files.end() ? nullptr : &it->second;
  };
  if (const std::string* brain = file("brain.dat")) {
    const auto lines = FileLines(*brain);
    HOLVAN_CHECK(stores.brain.Count() == static_cast<int32_t>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
      const int32_t k = static_cast<int32_t>(i);
      const bool split = ToWide(lines[i]).find(u'＝') != WideText::npos;
      const NarrowText rejoined = split ? NarrowText(stores.brain.Key(k))
                                              .append("\x81\x81")
                                              .append(stores.brain.Value(k))
                                        : NarrowText(stores.brain.Value(k));
      HOLVAN_CHECK(rejoined == lines[i]);
      if (!split) HOLVAN_CHECK(stores.brain.Key(k).empty());
    }
  } else {
    HOLVAN_CHECK(stores.brain.Count() == 0);
  }
  if (const std::string* dic = file("dic.dat")) {
    int32_t pairs = 0;
    for (const NarrowText& line : FileLines(*dic)) {
      if (ToWide(line).find(u'*') == WideText::npos) continue;
      HOLVAN_CHECK(pairs < stores.dictionary.Count());
      HOLVAN_CHECK(NarrowText(stores.dictionary.Key(pairs))
                       .append("*")
                       .append(stores.dictionary.Value(pairs)) == line);
      ++pairs;
    }
    HOLVAN_CHECK(stores.dictionary.Count() == pairs);
  } else {
    HOLVAN_CHECK(stores.dictionary.Count() == 0);
  }
  if (const std::string* res = file("res.dat")) {
    HOLVAN_CHECK(LinesOf(stores.phrase_log) == FileLines(*res));
  }
  if (!file("holv.dat")) {
    HOLVAN_CHECK(profile.user_name.empty() && profile.visit_count == 0);
  } else {
    HOLVAN_CHECK(profile.user_name == stores.profile_lines.Get(0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const fuzz::ScratchDir& dir = fuzz::ScratchDir::Get();
  std::map<std::string, std::string> files =
      dir.PlaceFiles(fuzz::SplitSections(input), kFiles);

  Stores stores;
  const Profile profile = LoadStores(dir.path(), stores);
  CheckLoaded(files, stores, profile);

  UpdateProfile(profile, stores.profile_lines);
  SaveStores(dir.path(), stores);
  for (const char* name : kFiles) {
    HOLVAN_CHECK(dir.Exists(name) == (files.count(name) == 1));
  }
  if (files.count("dic.dat") == 1) {
    HOLVAN_CHECK(dir.Read("dic.dat") == files["dic.dat"]);
  }
  // "brain.dat" is written back line for line as it was read; a line without
  // "＝" was all value and gets one in front.
  if (files.count("brain.dat") == 1) {
    std::string lines;
    for (const NarrowText& line : FileLines(files["brain.dat"])) {
      const bool split = ToWide(line).find(u'＝') != WideText::npos;
      lines += (split ? "" : "\x81\x81") + line + "\r\n";
    }
    HOLVAN_CHECK(dir.Read("brain.dat") == lines);
  }

  // The next start sees the same stores; only the visit count moves on.
  Stores again;
  const Profile next = LoadStores(dir.path(), again);
  HOLVAN_CHECK(PairsOf(again.brain) == PairsOf(stores.brain));
  HOLVAN_CHECK(again.dictionary.Count() == stores.dictionary.Count());
  if (files.count("res.dat") == 1) {
    HOLVAN_CHECK(LinesOf(again.phrase_log) == LinesOf(stores.phrase_log));
  }
  if (files.count("holv.dat") == 1) {
    HOLVAN_CHECK(again.profile_lines.Text() == stores.profile_lines.Text());
    HOLVAN_CHECK(next.user_name == profile.user_name);
    HOLVAN_CHECK(next.visit_count == WrappingIncrement(profile.visit_count));
    HOLVAN_CHECK(next.mood == profile.mood);
    HOLVAN_CHECK(next.spare_count1 == profile.spare_count1);
    HOLVAN_CHECK(next.spare_count2 == profile.spare_count2);
    HOLVAN_CHECK(next.spare_count3 == profile.spare_count3);
    HOLVAN_CHECK(next.angry_exit_count == profile.angry_exit_count);
  }
  return 0;
}
