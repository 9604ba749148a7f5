#include "store/data_files.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "store/growth_room.h"
#include "store/line_forms.h"
#include "text/files.h"
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

// Each line splits at its first "＝"; a line without one is all value. Key
// and value are cut by characters and keep the line's bytes as they are, so
// the close writes back every line it read; the bytes are walked once without
// a UTF-16 copy.
void LoadBrain(const NarrowText& path, Brain& brain) {
  const NarrowText bytes = ReadFileBytes(path);
  std::vector<NarrowText> keys;
  std::vector<NarrowText> values;
  keys.reserve(GrowthRoom(CountLineFeeds(bytes)));
  values.reserve(keys.capacity());
  ForEachLine(UpToZero(bytes), [&](std::string_view line, bool) {
    const KeyAndValue pair = SplitBrainLine(line);
    keys.emplace_back(pair.key);
    values.emplace_back(pair.value);
  });
  brain.Assign(std::move(keys), std::move(values));
}

// Each line splits at its first character that converts to "*"; a line
// without one adds nothing. Key and value keep the line's bytes.
void LoadDictionary(const NarrowText& path, Dictionary& dictionary) {
  const NarrowText bytes = ReadFileBytes(path);
  std::vector<NarrowText> keys;
  std::vector<NarrowText> values;
  keys.reserve(GrowthRoom(CountLineFeeds(bytes)));
  values.reserve(keys.capacity());
  ForEachLine(UpToZero(bytes), [&](std::string_view line, bool) {
    const std::optional<KeyAndValue> pair = SplitDictionaryLine(line);
    if (!pair) return;
    keys.emplace_back(pair->key);
    values.emplace_back(pair->value);
  });
  dictionary.Assign(std::move(keys), std::move(values));
}

// The counters are read only when line 2 holds something.
void LoadProfile(const NarrowText& path, TextLines& profile,
                 ConversationState& state) {
  profile.LoadFromFile(path);
  state.UserName = profile.Get(0);
  const NarrowText visits = profile.Get(1);
  if (visits.empty()) return;
  state.VisitCount = WrappingIncrement(ParseIntOr(visits, 0));
  state.Mood = ParseIntOr(profile.Get(2), 1);
  state.SpareCount1 = ParseIntOr(profile.Get(3), 1);
  state.SpareCount2 = ParseIntOr(profile.Get(4), 1);
  state.SpareCount3 = ParseIntOr(profile.Get(5), 1);
  state.AngryExitCount = ParseIntOr(profile.Get(6), 1);
}

// Hands the pieces of the "brain.dat" lines to put, in order.
template <typename Put>
void PutBrainLines(const Brain& brain, Put put) {
  const NarrowText& equals = BrainSeparator();
  const int32_t count = brain.Count();
  // The entries lie all over memory: ask for the ones a few steps ahead.
  constexpr int32_t kAhead = 8;
  for (int32_t i = 0; i < count; ++i) {
    if (i + kAhead < count) {
      __builtin_prefetch(brain.Key(i + kAhead).data());
      __builtin_prefetch(brain.Value(i + kAhead).data());
    }
    put(brain.Key(i));
    put(equals);
    put(brain.Value(i));
    put("\r\n");
  }
}

}  // namespace

NarrowText DataFilePath(std::string_view directory, std::string_view name) {
  NarrowText path;
  path.reserve(directory.size() + 1 + name.size());
  path.append(directory).append("/").append(name);
  return path;
}

void LoadStores(std::string_view directory, Stores& stores,
                ConversationState& state) {
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
  if (FileExists(path)) LoadProfile(path, stores.profile, state);
  stores.profile_unread = false;
}

void RemoveStaleDataTemporaries(std::string_view directory) {
  // dic.dat is written by the memory's editors, never by the conversation.
  static constexpr std::array<std::string_view, 5> kWritten = {
      kProfileFile, kBrainFile, kPhraseLogFile, kDiaryFile, kDictionaryFile};
  RemoveStaleTemporaries(NarrowText(directory), kWritten);
}

void UpdateProfile(const ConversationState& state, TextLines& profile) {
  if (profile.Count() < kProfileLines) {
    for (int32_t i = 0; i < kProfileLines; ++i) profile.Add("");
  }
  profile.Put(0, state.UserName);
  profile.Put(1, IntText(state.VisitCount));
  profile.Put(2, IntText(state.Mood));
  profile.Put(3, IntText(state.SpareCount1));
  profile.Put(4, IntText(state.SpareCount2));
  profile.Put(5, IntText(state.SpareCount3));
  profile.Put(6, IntText(state.AngryExitCount));
}

void SaveStores(std::string_view directory, const Stores& stores) {
  NarrowText path = DataFilePath(directory, kProfileFile);
  if (!stores.profile_unread && FileExists(path)) {
    stores.profile.SaveToFile(path);
  }
  path = DataFilePath(directory, kBrainFile);
  if (!stores.brain_unread && FileExists(path)) {
    AtomicFileWriter writer(path);
    PutBrainLines(stores.brain,
                  [&writer](std::string_view piece) { writer.Append(piece); });
    writer.Commit();
  }
  path = DataFilePath(directory, kPhraseLogFile);
  if (!stores.phrase_log_unread && FileExists(path)) {
    stores.phrase_log.entries().SaveToFile(path);
  }
}

NarrowText BrainFileBytes(const Brain& brain) {
  NarrowText bytes;
  PutBrainLines(brain, [&bytes](std::string_view piece) { bytes += piece; });
  return bytes;
}

}  // namespace holvan
