#include "store/data_files.h"

#include <array>
#include <cstdint>
#include <vector>

#include "store/growth_room.h"
#include "text/cp932.h"
#include "files/files.h"
#include "text/line_breaks.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace holvan {
namespace {

using namespace holvan::literals;

constexpr std::string_view kBrainFile = "brain.dat";
constexpr std::string_view kDictionaryFile = "dic.dat";
constexpr std::string_view kPhraseLogFile = "res.dat";
constexpr std::string_view kProfileFile = "holv.dat";
constexpr char16_t kFullWidthEquals = u'\uFF1D';
constexpr int32_t kProfileLines = 7;

// The units that split a dictionary line: those that convert to the one
// byte "*".
const std::u16string& Asterisks() {
  static const std::u16string units = UnitsNarrowedTo("*");
  return units;
}

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
    const CharacterAt equals =
        FindCharacterIn(line, std::u16string_view(&kFullWidthEquals, 1));
    if (equals.length == 0) {
      keys.emplace_back();
      values.emplace_back(line);
      return;
    }
    keys.emplace_back(line.substr(0, equals.offset));
    values.emplace_back(line.substr(equals.offset + equals.length));
  });
  brain.Assign(std::move(keys), std::move(values));
}

// Each line splits at its first character that converts to "*"; a line
// without one adds nothing. Key and value keep the line's bytes.
void LoadDictionary(const NarrowText& path, Dictionary& dictionary) {
  const NarrowText bytes = ReadFileBytes(path);
  const std::u16string& asterisks = Asterisks();
  std::vector<NarrowText> keys;
  std::vector<NarrowText> values;
  keys.reserve(GrowthRoom(CountLineFeeds(bytes)));
  values.reserve(keys.capacity());
  ForEachLine(UpToZero(bytes), [&](std::string_view line, bool) {
    const CharacterAt star = FindCharacterIn(line, asterisks);
    if (star.length == 0) return;
    keys.emplace_back(line.substr(0, star.offset));
    values.emplace_back(line.substr(star.offset + star.length));
  });
  dictionary.Assign(std::move(keys), std::move(values));
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

// Hands the pieces of the "brain.dat" lines to put, in order.
template <typename Put>
void PutBrainLines(const Brain& brain, Put put) {
  const NarrowText& equals = "＝"_sj;
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
  static constexpr std::array<std::string_view, 4> kWritten = {
      kProfileFile, kBrainFile, kPhraseLogFile, kDiaryFile};
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
