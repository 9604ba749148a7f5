// holvan-memory-editor: 「記憶の整理」, Holvan's memory in a window.

#include <QApplication>
#include <cstdio>

#include "editor/editor_window.h"
#include "editor/options.h"
#include "qt/desktop_identity.h"
#include "qt/program_end.h"
#include "qt/qt_translation.h"
#include "qt/run_window.h"
#include "system/process_start.h"

using holvan::editor::Command;

int main(int argc, char** argv) {
  holvan::system::PrepareProcess();
  const holvan::editor::Options options =
      holvan::editor::ParseCommandLine(argc, argv);
  switch (options.command) {
    case Command::kHelp:
      std::fputs(holvan::editor::HelpText().c_str(), stdout);
      return 0;
    case Command::kVersion:
      std::puts("holvan-memory-editor " HOLVAN_VERSION);
      return 0;
    case Command::kUsageError:
      std::fprintf(stderr, "holvan-memory-editor: %s\n",
                   options.problem.c_str());
      std::fputs(holvan::editor::HelpText().c_str(), stderr);
      return 2;
    case Command::kRun:
      break;
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
  return window.edits_lost() ? 1 : status;
}
