#include "memory_cli/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "memory_cli/help_text.h"
#include "os/command_line.h"
#include "os/user_language.h"
#include "text/numbers.h"

namespace holvan::memory_cli {
namespace {

using memory::MemoryFile;

// The options a command takes besides --dir.
enum Allowed : unsigned {
  kNone = 0,
  kGrep = 1,
  kLine = 2,
  kAll = 4,
  kDaily = 8,
  kBackups = 16,
  kKeepInBackups = 32,
  kExact = 64,
};

/// The command words and what may follow them.
struct Form {
  std::array<std::string_view, 2> words;
  Command command;
  std::size_t least;
  std::size_t most;
  unsigned allowed;
};

constexpr std::size_t kAny = 1 + memory::kMemoryFiles.size();

constexpr Form kForms[] = {
    {{"list", "dic"}, Command::kList, 0, 0, kGrep},
    {{"list", "brain"}, Command::kList, 0, 0, kGrep},
    {{"list", "phrases"}, Command::kList, 0, 0, kGrep},
    {{"list", "profile"}, Command::kList, 0, 0, kGrep},
    {{"add", "fact"}, Command::kAddFact, 2, 2, kNone},
    {{"add", "definition"}, Command::kAddDefinition, 2, 2, kNone},
    {{"change", "fact"}, Command::kChangeFact, 2, 2, kLine},
    {{"remove", "fact"}, Command::kRemoveFact, 0, 1, kLine},
    {{"remove", "definition"}, Command::kRemoveDefinition, 0, 2, kLine | kAll},
    {{"remove", "phrase"},
     Command::kRemovePhrase,
     0,
     1,
     kLine | kBackups | kKeepInBackups},
    {{"rename", ""}, Command::kRename, 1, 1, kNone},
    {{"import", "dic"}, Command::kImport, 1, 1, kNone},
    {{"export", ""}, Command::kExport, 1, 1, kNone},
    {{"check", ""}, Command::kCheck, 0, 0, kNone},
    {{"backup", ""}, Command::kBackup, 0, 0, kDaily | kBackups},
    {{"backups", ""}, Command::kBackups, 0, 0, kBackups},
    {{"restore", ""}, Command::kRestore, 1, kAny, kBackups | kExact},
};

constexpr std::array<MemoryFile, 4> kListed = {
    MemoryFile::kDictionary, MemoryFile::kBrain, MemoryFile::kPhrases,
    MemoryFile::kProfile};

Request Refuse(std::string problem) {
  return Only<Request>(UsageError(std::move(problem)));
}

/// "N" from 1 to 2147483647, digits only.
std::optional<int32_t> ParseLineNumber(std::string_view text) {
  const std::optional<int32_t> line = ParseDigits<int32_t>(text);
  return line && *line >= 1 ? line : std::nullopt;
}

/// Whether the arguments and options fit the command beyond their counts.
bool FitsForm(const Request& request) {
  const std::size_t count = request.arguments.size();
  const bool line = request.line.has_value();
  switch (request.command) {
    case Command::kRemoveFact:
    case Command::kRemovePhrase:
      return (count == 1) != line;
    case Command::kRemoveDefinition:
      return (count == 2 && !line && !request.all) ||
             (count == 1 && !line && request.all) ||
             (count == 0 && line && !request.all);
    case Command::kRestore:
      return std::all_of(request.arguments.begin() + 1, request.arguments.end(),
                         [](const std::string& name) {
                           return std::any_of(memory::kMemoryFiles.begin(),
                                              memory::kMemoryFiles.end(),
                                              [&](MemoryFile file) {
                                                return memory::FileName(file) ==
                                                       name;
                                              });
                         });
    default:
      return true;
  }
}

/// The words that may follow first in a command ("dic, brain..."), joined
/// in the user's language; empty for a command of one word.
std::string SecondWords(std::string_view first) {
  std::string words;
  for (const Form& form : kForms) {
    if (form.words[0] != first || form.words[1].empty()) continue;
    if (!words.empty()) words += InUserLanguage("、", ", ");
    words += form.words[1];
  }
  return words;
}

/// The file names among the arguments of restore that are no memory file's.
std::string StrangeFiles(std::span<const std::string> names) {
  std::string strange;
  for (const std::string& name : names) {
    if (std::none_of(
            memory::kMemoryFiles.begin(), memory::kMemoryFiles.end(),
            [&](MemoryFile file) { return memory::FileName(file) == name; })) {
      strange += (strange.empty() ? "" : " ") + name;
    }
  }
  return strange;
}

/// The memory files' names, "dic.dat, brain.dat...".
std::string MemoryFileNames() {
  std::string names;
  for (MemoryFile file : memory::kMemoryFiles) {
    if (!names.empty()) names += ", ";
    names += memory::FileName(file);
  }
  return names;
}

/// Why the words and options do not fit form.
std::string FormProblem(const Form& form, const Request& request) {
  if (form.command == Command::kRestore && !request.arguments.empty()) {
    const std::string strange =
        StrangeFiles(std::span(request.arguments).subspan(1));
    if (!strange.empty()) {
      return InUserLanguage("記憶のファイルではありません: ",
                            "not a memory file: ") +
             strange + " (" + MemoryFileNames() + ")";
    }
  }
  return InUserLanguage("引数かオプションが違います: ",
                        "wrong arguments or options for: ") +
         std::string(form.words[0]) +
         (form.words[1].empty() ? "" : " " + std::string(form.words[1]));
}

Request UnknownCommand(std::string_view word) {
  return Refuse(InUserLanguage("知らないコマンドです: ", "unknown command: ") +
                std::string(word));
}

/// The help that "help [COMMAND]" or "COMMAND --help" asks for.
Request HelpFor(std::span<const std::string> words) {
  if (!words.empty() && words[0] == "help") words = words.subspan(1);
  if (words.empty()) return Only<Request>(HelpOrVersion('h'));
  std::optional<std::string> help = CommandHelp(words[0]);
  if (!help) return UnknownCommand(words[0]);
  Request request = Only<Request>(HelpOrVersion('h'));
  request.outcome.help = std::move(*help);
  return request;
}

/// Fills in the command from the words left after the options.
Request WithCommand(Request request, std::span<const std::string> words,
                    unsigned given) {
  if (words.empty()) {
    return Refuse(InUserLanguage("コマンドがありません", "no command"));
  }
  if (words[0] == "help") {
    if (words.size() > 3 || given != kNone) {
      return Refuse(InUserLanguage("引数かオプションが違います: ",
                                   "wrong arguments or options for: ") +
                    "help");
    }
    return HelpFor(words);
  }
  for (std::size_t i = 0; i < std::size(kForms); ++i) {
    const Form& form = kForms[i];
    const std::size_t length = form.words[1].empty() ? 1 : 2;
    if (words.size() < length || words[0] != form.words[0] ||
        (length == 2 && words[1] != form.words[1])) {
      continue;
    }
    request.command = form.command;
    if (form.command == Command::kList) request.listed = kListed[i];
    request.arguments.assign(
        words.begin() + static_cast<std::ptrdiff_t>(length), words.end());
    const std::size_t count = request.arguments.size();
    if ((given & ~form.allowed) != 0 || count < form.least ||
        count > form.most || !FitsForm(request)) {
      return Refuse(FormProblem(form, request));
    }
    return request;
  }
  if (const std::string second = SecondWords(words[0]); !second.empty()) {
    return Refuse(words.size() < 2
                      ? InUserLanguage(words[0] + " には " + second +
                                           " のどれかが要ります",
                                       words[0] + " needs one of: " + second)
                      : InUserLanguage("知らない種類です: ", "unknown kind: ") +
                            words[0] + " " + words[1] +
                            InUserLanguage("（" + second + " のどれか）",
                                           " (one of: " + second + ")"));
  }
  return UnknownCommand(words[0]);
}

}  // namespace

Request ParseCommandLine(int argc, char** argv) {
  enum LongOnly {
    kBackupsOption = kVersionOption + 1,
    kAllOption,
    kDailyOption,
    kKeepOption,
    kExactOption,
  };
  static const option kOptions[] = {
      {"dir", required_argument, nullptr, 'd'},
      {"backups", required_argument, nullptr, kBackupsOption},
      {"grep", required_argument, nullptr, 'g'},
      {"line", required_argument, nullptr, 'n'},
      {"all", no_argument, nullptr, kAllOption},
      {"daily", no_argument, nullptr, kDailyOption},
      {"keep-in-backups", no_argument, nullptr, kKeepOption},
      {"exact", no_argument, nullptr, kExactOption},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersionOption},
      {nullptr, 0, nullptr, 0},
  };
  Request request;
  unsigned given = kNone;
  bool help = false;
  StartGetopt();
  int c;
  while ((c = getopt_long(argc, argv, ":d:g:n:h", kOptions, nullptr)) != -1) {
    switch (c) {
      case 'd':
        request.dir = optarg;
        break;
      case kBackupsOption:
        request.backups = optarg;
        given |= kBackups;
        break;
      case 'g':
        request.grep = optarg;
        given |= kGrep;
        break;
      case 'n':
        request.line = ParseLineNumber(optarg);
        if (!request.line) {
          return Refuse(InUserLanguage("--line には 1 以上の行番号が要ります",
                                       "--line needs a line number from 1"));
        }
        given |= kLine;
        break;
      case kAllOption:
        request.all = true;
        given |= kAll;
        break;
      case kDailyOption:
        request.daily = true;
        given |= kDaily;
        break;
      case kKeepOption:
        request.keep_in_backups = true;
        given |= kKeepInBackups;
        break;
      case kExactOption:
        request.exact = true;
        given |= kExact;
        break;
      case 'h':
        help = true;
        break;
      case kVersionOption:
        return Only<Request>(HelpOrVersion(c));
      default:
        return Refuse(OptionProblem(c, argv[optind - 1]));
    }
  }
  const std::vector<std::string> words(argv + optind, argv + argc);
  if (help) return HelpFor(words);
  return WithCommand(std::move(request), words, given);
}

}  // namespace holvan::memory_cli
