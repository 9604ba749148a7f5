#include "editor/options.h"

#include <getopt.h>

#include <string_view>
#include <utility>

#include "os/command_line.h"
#include "os/user_language.h"

namespace holvan::editor {
namespace {

constexpr std::string_view kJapaneseHelp =
    R"(使い方: holvan-memory-editor [--dir フォルダ]
       holvan-memory-editor -h | --help | --version

Holvan の記憶（辞書、覚えた言葉、発言の記録、名前）を見て、探して、直す
ウィンドウ「記憶の整理」を開きます。直したものは「保存」を押すまでファイルに
書かれず、それまでは最後の変更を「元に戻す」で取り消せます。
ほかのプログラム（Holvan や別の「記憶の整理」）がフォルダを使っている間は
読み取り専用で開き、「Holvan の終了後に編集できます（holvan-term、プロセス
1234）」のように、そのプログラムを表示します。「記憶の整理」が開いている間は
Holvan は起動しません。

オプション:
  -d, --dir フォルダ      記憶のフォルダ（既定は ${XDG_DATA_HOME:-~/.local/share}/holvan）
  -h, --help              この説明を表示します
  --version               版を表示します

終了ステータス: 0 終了した、1 終了の合図（SIGTERM、SIGHUP、ログアウト）で
保存できなかった変更がある、2 コマンドラインの誤り。
)";

constexpr std::string_view kEnglishHelp =
    R"(Usage: holvan-memory-editor [--dir FOLDER]
       holvan-memory-editor -h | --help | --version

Opens 記憶の整理, a window to see, search and edit Holvan's memory: its
dictionary, learned words, logged phrases and your name. Edits are written
to the files only by 保存 (save); until then the last one can be taken back
with 元に戻す (undo). While another program (Holvan, a second 記憶の整理)
holds the folder the memory opens read-only, naming it, as in "Holvan
の終了後に編集できます（holvan-term、プロセス 1234）"; while the window is open,
Holvan does not start.

Options:
  -d, --dir FOLDER        the memory folder (default:
                          ${XDG_DATA_HOME:-~/.local/share}/holvan)
  -h, --help              show this text
  --version               show the version

Exit status: 0 ended, 1 edits could not be saved when the program was told
to end (SIGTERM, SIGHUP, logging out), 2 wrong command line.
)";

Options Refuse(std::string problem) {
  return Only<Options>(UsageError(std::move(problem)));
}

}  // namespace

Options ParseCommandLine(int argc, char** argv) {
  static const option kOptions[] = {
      {"dir", required_argument, nullptr, 'd'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersionOption},
      {nullptr, 0, nullptr, 0},
  };
  Options options;
  StartGetopt();
  int c;
  while ((c = getopt_long(argc, argv, ":d:h", kOptions, nullptr)) != -1) {
    switch (c) {
      case 'd':
        options.dir = optarg;
        break;
      case 'h':
      case kVersionOption:
        return Only<Options>(HelpOrVersion(c));
      default:
        return Refuse(OptionProblem(c, argv[optind - 1]));
    }
  }
  if (optind < argc) {
    return Refuse(InUserLanguage("余分な引数です: ", "unexpected argument: ") +
                  std::string(argv[optind]));
  }
  return options;
}

std::string HelpText() { return InUserLanguage(kJapaneseHelp, kEnglishHelp); }

}  // namespace holvan::editor
