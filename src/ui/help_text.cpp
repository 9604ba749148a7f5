#include "ui/help_text.h"

#include <string_view>

#include "os/user_language.h"

namespace holvan {
namespace {

constexpr std::string_view kJapaneseHelp =
    R"(使い方: holvan
       holvan -h | --help | --version

現在のフォルダのデータファイル（brain.dat、dic.dat、res.dat、holv.dat、
diary.dat）で Holvan のウィンドウを開きます。ふつうは holvan-start で、
記憶のフォルダで起動します。表示先は Qt の環境変数（QT_QPA_PLATFORM など）で
決まります。

  -h, --help  この説明を表示します
  --version   版を表示します

終了ステータス: 0 ウィンドウを閉じた、2 コマンドラインの誤り、3 ほかの
プログラムがこのフォルダを使っている。
)";

constexpr std::string_view kEnglishHelp =
    R"(Usage: holvan
       holvan -h | --help | --version

Opens Holvan's window on the data files of the current directory
(brain.dat, dic.dat, res.dat, holv.dat, diary.dat); holvan-start starts it
in the memory folder. Qt's environment variables (QT_QPA_PLATFORM...) say
where the window opens.

  -h, --help  show this text
  --version   show the version

Exit status: 0 the window was closed, 2 wrong command line, 3 another
program holds this directory.
)";

}  // namespace

std::string WindowHelpText() {
  return InUserLanguage(kJapaneseHelp, kEnglishHelp);
}

}  // namespace holvan
