#pragma once

#include "conversation/platform.h"
#include "os/signal_bridge.h"

namespace holvan::term {

/// The run on a terminal: a Readline prompt showing the Talk caption, the
/// 5000 ms idle-remark timer, "/version" and "/quit", on GLib's main loop.
/// Ctrl-D, "/quit" and Ctrl-C on an empty line close as the window does;
/// SIGTERM and SIGHUP save without the closing box. Returns the exit status.
/// signals must catch SIGINT, SIGTERM, SIGHUP, SIGTSTP and SIGWINCH.
int RunInteractive(Platform& platform, SignalBridge& signals);

}  // namespace holvan::term
