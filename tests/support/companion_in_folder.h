#pragma once

#include <utility>

#include "support/fake_platform.h"
#include "support/fake_view.h"
#include "support/temp_dir.h"
#include "support/turn.h"

namespace holvan::testing {

/// A companion over a test's view and platform, working in a fresh temporary
/// folder where the test writes its data files before Start; and the input
/// line that a front end keeps for it.
template <typename ViewType = FakeView, typename PlatformType = FakePlatform>
class CompanionInFolder {
 public:
  CompanionInFolder() { platform.folder = dir.path(); }
  CompanionInFolder(const CompanionInFolder&) = delete;
  CompanionInFolder& operator=(const CompanionInFolder&) = delete;

  /// One turn on the input line as a front end takes it, then the close when
  /// the turn asks for it; the input line then holds what the turn left.
  /// Returns whether the close ran and succeeded; a failure raises.
  bool Press() {
    TurnRun run = TalkAndCloseIfAsked(companion, input_line);
    input_line = std::move(run.input_line);
    return run.closed;
  }
  /// Types line on the input line, then presses.
  bool TypeAndPress(NarrowText line) {
    input_line = std::move(line);
    return Press();
  }

  Conversation& conversation() { return companion.conversation(); }

  TempDir dir;
  ViewType view;
  PlatformType platform;
  OpenCompanion companion{view, platform};
  NarrowText input_line;
};

}  // namespace holvan::testing
