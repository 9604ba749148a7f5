#include "memory_cli/help_text.h"

#include <string_view>

#include "os/user_language.h"

namespace holvan::memory_cli {
namespace {

constexpr std::string_view kJapaneseHelp =
    R"(使い方: holvan-memory [--dir フォルダ] コマンド [引数...]
       holvan-memory help [コマンド] | コマンド --help
       holvan-memory -h | --help | --version

Holvan の記憶（dic.dat、brain.dat、res.dat、holv.dat、diary.dat）を見て、
探して、直して、バックアップします。入力と出力は UTF-8 です。

見る（Holvan の起動中も使えます）:
  list dic|brain|phrases|profile [--grep 文字列]
                          辞書の事柄、覚えた言葉と意味（新しい順）、発言の記録、
                          名前を「行番号<タブ>…」で表示します
  check                   記憶のファイルを検査し、問題を 1 行ずつ表示します
  export フォルダ         UTF-8・LF 改行の写し（dic.txt など）を書きます
  backups                 バックアップを古い順に、名前、取った日時、中身（事柄・
                          言葉・発言の数と日記のバイト数）とともに表示します。
                          ファイルが記録と合わないものは「壊れています」と示します

直す（Holvan の終了後に使えます）:
  add fact 言葉 説明       辞書（dic.dat）に事柄を加えます
  change fact [--line N] 言葉 説明
                          事柄（または N 行目）を書き換えます
  remove fact 言葉 | remove fact --line N
                          事柄を消します
  add definition 言葉 意味 覚えた言葉に意味を加えます（Holvan が覚えるのと同じく
                          一番新しい意味になります）
  remove definition 言葉 意味 | remove definition 言葉 --all |
  remove definition --line N
                          意味を一つ、言葉ごと、または brain.dat の N 行目を消します
  remove phrase 発言 | remove phrase --line N
                          発言の記録（res.dat）と、すべてのバックアップから消します
  rename 名前             ユーザーの名前を変えます
  import dic ファイル     「言葉*説明」か「言葉<タブ>説明」の行を辞書に加えます
                          （- は標準入力）。加えなかった行は行番号とわけを
                          標準エラーに示し、一行でもあれば終了ステータスは 1 です
  backup [--daily]        記憶のファイルを今日の日付のフォルダにバックアップします
                          （--daily: 今日の分があれば何もしません）。取った日時の
                          新しい 14 個を残します
  restore [--exact] 名前 [ファイル...]
                          今のファイルをバックアップしてから、バックアップのファイル
                          を戻します。すべて戻すか、何も変えないかのどちらかです。
                          バックアップにないファイルはそのままにします

オプション:
  -d, --dir フォルダ      記憶のフォルダ（既定は ${XDG_DATA_HOME:-~/.local/share}/holvan）
  --backups フォルダ      バックアップの場所（既定は
                          ${XDG_STATE_HOME:-~/.local/state}/holvan/backups）。--dir で
                          別のフォルダを使うときは必要です
  -g, --grep 文字列       list: その文字列を含むものだけ
  -n, --line N            N 行目（list の行番号）
  --all                   remove definition: 言葉ごと消します
  --daily                 backup: 今日の分があれば何もしません
  --keep-in-backups       remove phrase: バックアップからは消しません
  --exact                 restore: 指定したファイル（既定は 5 つすべて）のうち
                          バックアップにないものを消します
  -h, --help              この説明を表示します
  --version               版を表示します

終了ステータス: 0 成功、1 失敗（import で加えなかった行があるときも）、2 コマンドラインの誤り、3 ほかのプログラムが
フォルダを使用中（「Holvan の終了後に編集できます（holvan-term、プロセス 1234）」
のように、そのプログラムを言います。何も変えていません）、4 check が問題を
見つけた。
)";

constexpr std::string_view kEnglishHelp =
    R"(Usage: holvan-memory [--dir FOLDER] COMMAND [ARGUMENT...]
       holvan-memory help [COMMAND] | COMMAND --help
       holvan-memory -h | --help | --version

Shows, searches, edits and backs up Holvan's memory (dic.dat, brain.dat,
res.dat, holv.dat, diary.dat). Input and output are UTF-8; Holvan's own
messages and the check report are in Japanese.

Looking (works while Holvan runs):
  list dic|brain|phrases|profile [--grep TEXT]
                          the dictionary's facts, the learned words with their
                          definitions (newest first), the logged phrases, the
                          name, as "LINE<TAB>..."
  check                   checks the memory files, one problem a line
  export FOLDER           writes UTF-8 copies with LF line ends (dic.txt...)
  backups                 lists the backups, oldest first, with when each was
                          taken and what it holds (facts, words, phrases, the
                          diary's bytes); one whose files do not match its
                          record is shown as damaged

Editing (once Holvan has ended):
  add fact KEY TEXT       adds a fact to the dictionary (dic.dat)
  change fact [--line N] KEY TEXT
                          rewrites the fact (or line N)
  remove fact KEY | remove fact --line N
                          removes a fact
  add definition KEY TEXT adds a definition to a learned word, newest first,
                          as Holvan learns it
  remove definition KEY TEXT | remove definition KEY --all |
  remove definition --line N
                          removes one definition, the whole word, or line N
                          of brain.dat
  remove phrase TEXT | remove phrase --line N
                          removes a logged phrase from res.dat and from every
                          backup
  rename NAME             changes the user's name
  import dic FILE         adds the "KEY*TEXT" or "KEY<TAB>TEXT" lines of FILE
                          to the dictionary (- reads standard input); each
                          line not added is told on standard error with its
                          number and why, and makes the exit status 1
  backup [--daily]        backs the memory files up in a folder named by
                          today's date; keeps the 14 taken last
  restore [--exact] NAME [FILE...]
                          backs up the current files, then puts the files of
                          the backup NAME back (all, or those named), all of
                          them or none; a file the backup lacks is left alone

Options:
  -d, --dir FOLDER        the memory folder (default:
                          ${XDG_DATA_HOME:-~/.local/share}/holvan)
  --backups FOLDER        where backups go (default:
                          ${XDG_STATE_HOME:-~/.local/state}/holvan/backups);
                          needed when --dir names another folder
  -g, --grep TEXT         list: only what holds TEXT
  -n, --line N            line N (the numbers list shows)
  --all                   remove definition: the whole word
  --daily                 backup: nothing when today's backup exists
  --keep-in-backups       remove phrase: the backups keep the phrase
  --exact                 restore: the files asked for (all five by default)
                          that the backup lacks are removed
  -h, --help              show this text
  --version               show the version

Exit status: 0 done, 1 failed (also when import left a line out), 2 wrong command line, 3 another program holds
the folder (named, as in "Holvan の終了後に編集できます（holvan-term、プロセス
1234）"; nothing was changed), 4 check found problems.
)";

}  // namespace

std::string HelpText() { return InUserLanguage(kJapaneseHelp, kEnglishHelp); }

std::optional<std::string> CommandHelp(std::string_view command) {
  const std::string help = HelpText();
  const std::string word(command);
  std::string entries;
  std::string options;
  std::string* kept = nullptr;
  for (std::string_view rest = help; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n') + 1, rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end);
    if (line.starts_with("   ")) {
      // A description's next line belongs where its entry went.
      if (kept != nullptr) *kept += line;
      continue;
    }
    kept = nullptr;
    if (line.starts_with("  -")) {
      // An option that only the command takes says so first: "list: ...".
      const std::size_t gap = line.find("  ", 2);
      const std::string_view about =
          line.substr(std::min(line.find_first_not_of(' ', gap), line.size()));
      if (about.starts_with(word + ":") || about.starts_with(word + " ")) {
        kept = &options;
      }
    } else if (line.starts_with("  " + word + " ") ||
               line.starts_with("  " + word + "\n")) {
      kept = &entries;
    }
    if (kept != nullptr) *kept += line;
  }
  if (entries.empty()) return std::nullopt;
  return options.empty() ? entries : entries + "\n" + options;
}

}  // namespace holvan::memory_cli
