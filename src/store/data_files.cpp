#include "store/data_files.h"

#include <array>
#include <cstdint>
#include <exception>
#include <future>
#include <optional>

#include "files/atomic_save.h"
#include "files/temporaries.h"
#include "os/side_task.h"
#include "store/line_forms.h"
#include "store/stored_text.h"
#include "text/numbers.h"

namespace holvan {
namespace {

constexpr std::string_view kBrainFile = FileName(DataFile::kBrain);
constexpr std::string_view kDictionaryFile = FileName(DataFile::kDictionary);
constexpr std::string_view kPhraseLogFile = FileName(DataFile::kPhrases);
constexpr std::string_view kProfileFile = FileName(DataFile::kProfile);

// Each line splits at its first "＝"; a line without one is all value.
void LoadBrain(const NarrowText& path, Brain& brain) {
  brain.Load(ReadStoreFile(path),
             [](std::string_view line) -> std::optional<KeyAndValue> {
               return SplitBrainLine(line);
             });
}

// Each line splits at its first character that converts to "*"; a line
// without one adds nothing.
void LoadDictionary(const NarrowText& path, Dictionary& dictionary) {
  dictionary.Load(ReadStoreFile(path), SplitDictionaryLine);
}

// The counters are read only when line 2 holds something.
Profile LoadProfile(const NarrowText& path, TextLines& profile) {
  profile.LoadFromFile(path);
  Profile fields;
  fields.user_name = profile.Get(0);
  if (profile.Get(1).empty()) return fields;
  for (int32_t i = 1; i < kProfileLines; ++i) {
    fields.*kProfileNumbers[i - 1] =
        ParseIntOr(profile.Get(i), ProfileNumberDefault(i));
  }
  fields.visit_count = WrappingIncrement(fields.visit_count);
  return fields;
}

// Writes the lines of pairs or lines to path, atomically.
template <typename Lines>
void SaveLines(const NarrowText& path, const Lines& lines) {
  AtomicFileWriter writer(path);
  lines.Write(writer);
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
  // The Brain, the most work, loads on a thread of its own (where one can be
  // made) while this one reads the Dictionary and the PhraseLog into stores
  // of their own. They are taken in file order: a failure leaves the files
  // after it unread.
  std::future<void> brain =
      StartBeside([&stores, path = DataFilePath(directory, kBrainFile)] {
        if (FileExists(path)) LoadBrain(path, stores.brain);
      });
  std::optional<Dictionary> dictionary;
  std::optional<PhraseLog> phrase_log;
  std::exception_ptr failure;
  try {
    const NarrowText path = DataFilePath(directory, kDictionaryFile);
    if (FileExists(path)) {
      dictionary.emplace().SetLookup(stores.dictionary.lookup());
      LoadDictionary(path, *dictionary);
    }
  } catch (...) {
    dictionary.reset();
    failure = std::current_exception();
  }
  if (!failure) {
    try {
      const NarrowText path = DataFilePath(directory, kPhraseLogFile);
      if (FileExists(path)) {
        phrase_log.emplace().SetLookup(stores.phrase_log.lookup());
        phrase_log->LoadFromFile(path);
      }
    } catch (...) {
      phrase_log.reset();
      failure = std::current_exception();
    }
  }
  brain.get();
  stores.brain_unread = false;
  if (dictionary) stores.dictionary = std::move(*dictionary);
  if (phrase_log) stores.phrase_log = std::move(*phrase_log);
  if (failure) std::rethrow_exception(failure);
  stores.phrase_log_unread = false;
  // The indexes are built beside the conversation, in the order a turn first
  // asks them: nobody waits for them unless a lookup comes first.
  stores.phrase_log.IndexBeside();
  stores.brain.IndexBeside();
  stores.dictionary.IndexBeside();
  const NarrowText path = DataFilePath(directory, kProfileFile);
  Profile fields;
  if (FileExists(path)) fields = LoadProfile(path, stores.profile_lines);
  stores.profile_unread = false;
  return fields;
}

void RemoveStaleDataTemporaries(std::string_view directory) {
  // dic.dat is written by the memory's editors, never by the conversation.
  static constexpr std::array<std::string_view, 5> kWritten = {
      kProfileFile, kBrainFile, kPhraseLogFile, FileName(DataFile::kDiary),
      kDictionaryFile};
  RemoveStaleTemporaries(NarrowText(directory), kWritten);
}

void UpdateProfile(const Profile& fields, TextLines& profile) {
  if (profile.Count() < kProfileLines) {
    for (int32_t i = 0; i < kProfileLines; ++i) profile.Add("");
  }
  profile.Put(0, fields.user_name);
  for (int32_t i = 1; i < kProfileLines; ++i) {
    profile.Put(i, IntText(fields.*kProfileNumbers[i - 1]));
  }
}

void SaveStores(std::string_view directory, const Stores& stores) {
  NarrowText path = DataFilePath(directory, kProfileFile);
  if (!stores.profile_unread && FileExists(path)) {
    stores.profile_lines.SaveToFile(path);
  }
  path = DataFilePath(directory, kBrainFile);
  if (!stores.brain_unread && FileExists(path)) {
    SaveLines(path, stores.brain.pairs());
  }
  path = DataFilePath(directory, kPhraseLogFile);
  if (!stores.phrase_log_unread && FileExists(path)) {
    SaveLines(path, stores.phrase_log.lines());
  }
}

}  // namespace holvan
