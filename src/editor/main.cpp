// holvan-memory-editor: 「記憶の整理」, Holvan's memory in a window.

#include <QApplication>
#include <optional>

#include "editor/editor_window.h"
#include "editor/options.h"
#include "os/command_line.h"
#include "os/process_start.h"
#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"

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
  holvan::editor::EditorWindow window(options.dir);
  holvan::SaveAtProgramEnd(window);
  const int status = holvan::RunWindow(window);
  return holvan::EndProgram(window.edits_lost() ? 1 : status);
}
