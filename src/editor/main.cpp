// holvan-memory-editor: 「記憶の整理」, Holvan's memory in a window.

#include <QApplication>
#include <optional>

#include "editor/editor_window.h"
#include "editor/options.h"
#include "errors/error.h"
#include "memory/places.h"
#include "os/command_line.h"
#include "os/process_start.h"
#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"
#include "qt/window_raising.h"

int main(int argc, char** argv) {
  holvan::PrepareProcess();
  const holvan::editor::Options options =
      holvan::editor::ParseCommandLine(argc, argv);
  if (const std::optional<int> status = holvan::AnswerCommandLine(
          options.outcome,
          {"holvan-memory-editor", holvan::editor::HelpText})) {
    return *status;
  }
  // Qt sees only the program's name: the arguments were this program's own.
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication application(qt_argc, qt_argv);
  holvan::SetDesktopIdentity();
  holvan::InstallQtJapanese();
  // A second start on the folder brings the running window to the front; a
  // folder that cannot be named is the window's to report.
  std::optional<QString> channel;
  try {
    channel = holvan::RaisingChannel(
        "holvan-memory-editor", holvan::memory::MemoryFolderToUse(options.dir));
  } catch (const holvan::Error&) {
  }
  if (channel && holvan::AskToRaise(*channel)) return 0;
  holvan::editor::EditorWindow window(options.dir);
  std::optional<holvan::RaiseOnRequest> raising;
  if (channel) raising.emplace(&window, *channel);
  holvan::SaveAtProgramEnd(window);
  const int status = holvan::RunWindow(window);
  return holvan::EndProgram(window.edits_lost() ? 1 : status);
}
