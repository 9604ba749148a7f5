#pragma once

#include "conversation/platform.h"
#include "os/signal_bridge.h"

namespace holvan::term {

/// The scripted run: every stdin line is one turn, "/tick" one tick of the
/// idle-remark timer, "/quit" a close request, and the end of input a close
/// request. SIGTERM, SIGHUP and SIGINT save without the closing box and end
/// the run. Returns the exit status: 1 when the last close failed.
int RunBatch(Platform& platform, SignalBridge& signals);

}  // namespace holvan::term
