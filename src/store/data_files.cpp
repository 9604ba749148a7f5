#include "store/data_files.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "files/atomic_save.h"
#include "files/read_file.h"
#include "files/temporaries.h"
#include "store/growth_room.h"
#include "store/line_forms.h"
#include "text/line_breaks.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {
namespace {

constexpr std::string_view kBrainFile = "brain.dat";
constexpr std::string_view kDictionaryFile = "dic.dat";
constexpr std::string_view kPhraseLogFile = "res.dat";
constexpr std::string_view kProfileFile = "holv.dat";
constexpr int32_t kProfileLines = 7;

// The keys and values of a file's lines.
struct Pairs {
  std::vector<NarrowText> keys;
  std::vector<NarrowText> values;
};

// The key and value that split cuts from each line of the file; a line it
// does not cut adds nothing. Key and value keep the line's bytes as they are,
// so the close writes back every line it read; the bytes are walked once
// without a UTF-16 copy.
template <typename Split>
Pairs ReadPairs(const NarrowText& path, Split split) {
  const NarrowText bytes = ReadFileBytes(path);
  Pairs pairs;
  pairs.keys.reserve(GrowthRoom(CountLineFeeds(bytes)));
  pairs.values.reserve(pairs.keys.capacity());
  ForEachLine(UpToZero(bytes), [&](std::string_view line, bool) {
    const std::optional<KeyAndValue> pair = split(line);
    if (!pair) return;
    pairs.keys.emplace_back(pair->key);
    pairs.values.emplace_back(pair->value);
  });
  return pairs;
}

// Each line splits at its first "＝"; one without is all value.
void LoadBrain(const NarrowText& path, Brain& brain) {
  Pairs pairs = ReadPairs(path, [](std::string_view line) {
    return std::optional(SplitBrainLine(line));
  });
  brain.Assign(std::move(pairs.keys), std::move(pairs.values));
}

// Each line splits at its first character that converts to "*".
void LoadDictionary(const NarrowText& path, Dictionary& dictionary) {
  Pairs pairs = ReadPairs(path, SplitDictionaryLine);
  dictionary.Assign(std::move(pairs.keys), std::move(pairs.values));
}

// The counters are read only when line 2 holds something.
Profile LoadProfile(const NarrowText& path, TextLines& profile) {
  profile.LoadFromFile(path);
  Profile fields;
  fields.user_name = profile.Get(0);
  const NarrowText visits = profile.Get(1);
  if (visits.empty()) return fields;
  fields.visit_count = WrappingIncrement(ParseIntOr(visits, 0));
  fields.mood = ParseIntOr(profile.Get(2), 1);
  fields.spare_count1 = ParseIntOr(profile.Get(3), 1);
  fields.spare_count2 = ParseIntOr(profile.Get(4), 1);
  fields.spare_count3 = ParseIntOr(profile.Get(5), 1);
  fields.angry_exit_count = ParseIntOr(profile.Get(6), 1);
  return fields;
}

// Writes key "＝" value CR LF per pair, atomically.
void SaveBrain(const NarrowText& path, const Brain& brain) {
  const NarrowText& equals = BrainSeparator();
  const int32_t count = brain.Count();
  AtomicFileWriter writer(path);
  // The entries lie all over memory: ask for the ones a few steps ahead.
  constexpr int32_t kAhead = 8;
  for (int32_t i = 0; i < count; ++i) {
    if (i + kAhead < count) {
      __builtin_prefetch(brain.Key(i + kAhead).data());
      __builtin_prefetch(brain.Value(i + kAhead).data());
    }
    writer.Append(brain.Key(i));
    writer.Append(equals);
    writer.Append(brain.Value(i));
    writer.Append("\r\n");
  }
  writer.Commit();
}

}  // namespace

NarrowText DataFilePath(std::string_view directory, std::string_view name) {
  NarrowText path;
  path.reserve(directory.size() + 1 + name.size());
  path.append(directory).append("/").append(name);
  return path;
}

Profile LoadStores(std::string_view directory, Stores& stores) {
  // An error below leaves the flags of the files not yet read set.
  stores.brain_unread = stores.phrase_log_unread = stores.profile_unread = true;
  NarrowText path = DataFilePath(directory, kBrainFile);
  if (FileExists(path)) LoadBrain(path, stores.brain);
  stores.brain_unread = false;
  path = DataFilePath(directory, kDictionaryFile);
  if (FileExists(path)) LoadDictionary(path, stores.dictionary);
  path = DataFilePath(directory, kPhraseLogFile);
  if (FileExists(path)) stores.phrase_log.LoadFromFile(path);
  stores.phrase_log_unread = false;
  path = DataFilePath(directory, kProfileFile);
  Profile fields;
  if (FileExists(path)) fields = LoadProfile(path, stores.profile);
  stores.profile_unread = false;
  return fields;
}

void RemoveStaleDataTemporaries(std::string_view directory) {
  // dic.dat is written by the memory's editors, never by the conversation.
  static constexpr std::array<std::string_view, 5> kWritten = {
      kProfileFile, kBrainFile, kPhraseLogFile, kDiaryFile, kDictionaryFile};
  RemoveStaleTemporaries(NarrowText(directory), kWritten);
}

void UpdateProfile(const Profile& fields, TextLines& profile) {
  if (profile.Count() < kProfileLines) {
    for (int32_t i = 0; i < kProfileLines; ++i) profile.Add("");
  }
  profile.Put(0, fields.user_name);
  profile.Put(1, IntText(fields.visit_count));
  profile.Put(2, IntText(fields.mood));
  profile.Put(3, IntText(fields.spare_count1));
  profile.Put(4, IntText(fields.spare_count2));
  profile.Put(5, IntText(fields.spare_count3));
  profile.Put(6, IntText(fields.angry_exit_count));
}

void SaveStores(std::string_view directory, const Stores& stores) {
  NarrowText path = DataFilePath(directory, kProfileFile);
  if (!stores.profile_unread && FileExists(path)) {
    stores.profile.SaveToFile(path);
  }
  path = DataFilePath(directory, kBrainFile);
  if (!stores.brain_unread && FileExists(path)) SaveBrain(path, stores.brain);
  path = DataFilePath(directory, kPhraseLogFile);
  if (!stores.phrase_log_unread && FileExists(path)) {
    stores.phrase_log.entries().SaveToFile(path);
  }
}

}  // namespace holvan
