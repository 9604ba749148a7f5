#include "store/data_files.h"

#include <array>
#include <cstdint>
#include <vector>

#include "text/cp932.h"
#include "text/files.h"
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

std::vector<NarrowText> ReadLines(const NarrowText& path) {
  return SplitFileLines(ReadFileBytes(path));
}

// Each line splits at its first "＝"; a line without one is all value.
void LoadBrain(const NarrowText& path, Brain& brain) {
  std::vector<NarrowText> lines = ReadLines(path);
  brain.Clear();
  brain.Reserve(lines.size());
  for (const NarrowText& line : lines) {
    const WideText wide = ToWide(line);
    const std::size_t found = wide.find(kFullWidthEquals);
    const int32_t length = static_cast<int32_t>(wide.size());
    const int32_t p =
        found == WideText::npos ? 0 : static_cast<int32_t>(found) + 1;
    brain.Add(WideCopy(wide, 1, p - 1), WideCopy(wide, p + 1, length));
  }
}

// Whether a character converts to the one byte "*" depends only on the
// character, so the answer is kept instead of converting every character of
// every dictionary line.
bool ConvertsToAsterisk(char16_t unit) {
  enum : uint8_t { kUnknown, kNo, kYes };
  static std::vector<uint8_t> known(0x10000, kUnknown);
  uint8_t& answer = known[unit];
  if (answer == kUnknown) {
    answer =
        ShortEquals(ToNarrow(std::u16string_view(&unit, 1)), "*") ? kYes : kNo;
  }
  return answer == kYes;
}

// Each line splits at its first ASCII "*"; a line without one adds nothing.
void LoadDictionary(const NarrowText& path, Dictionary& dictionary) {
  std::vector<NarrowText> lines = ReadLines(path);
  dictionary.Clear();
  dictionary.Reserve(lines.size());
  for (const NarrowText& line : lines) {
    const WideText wide = ToWide(line);
    const int32_t length = static_cast<int32_t>(wide.size());
    for (int32_t i = 1; i <= length; ++i) {
      if (ConvertsToAsterisk(wide[i - 1])) {
        dictionary.Add(WideCopy(wide, 1, i - 1),
                       WideCopy(wide, i + 1, length - i));
        break;
      }
    }
  }
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

}  // namespace

NarrowText DataFilePath(std::string_view directory, std::string_view name) {
  NarrowText path;
  path.reserve(directory.size() + 1 + name.size());
  path.append(directory).append("/").append(name);
  return path;
}

void LoadStores(std::string_view directory, Stores& stores,
                ConversationState& state) {
  NarrowText path = DataFilePath(directory, kBrainFile);
  if (FileExists(path)) LoadBrain(path, stores.brain);
  path = DataFilePath(directory, kDictionaryFile);
  if (FileExists(path)) LoadDictionary(path, stores.dictionary);
  path = DataFilePath(directory, kPhraseLogFile);
  if (FileExists(path)) stores.phrase_log.LoadFromFile(path);
  path = DataFilePath(directory, kProfileFile);
  if (FileExists(path)) LoadProfile(path, stores.profile, state);
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
  if (FileExists(path)) stores.profile.SaveToFile(path);
  path = DataFilePath(directory, kBrainFile);
  if (FileExists(path)) SaveFileAtomically(path, BrainFileBytes(stores.brain));
  path = DataFilePath(directory, kPhraseLogFile);
  if (FileExists(path)) stores.phrase_log.entries().SaveToFile(path);
}

NarrowText BrainFileBytes(const Brain& brain) {
  const NarrowText& equals = "＝"_sj;
  std::size_t size = 0;
  for (int32_t i = 0; i < brain.Count(); ++i) {
    size += brain.Key(i).size() + equals.size() + brain.Value(i).size() + 2;
  }
  NarrowText bytes;
  bytes.reserve(size);
  for (int32_t i = 0; i < brain.Count(); ++i) {
    bytes.append(brain.Key(i)).append(equals).append(brain.Value(i));
    bytes.append("\r\n");
  }
  return bytes;
}

}  // namespace holvan
