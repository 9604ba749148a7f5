#include "os/standard_streams.h"

#include <stdio_ext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "os/system_reason.h"
#include "os/user_language.h"

namespace holvan {
namespace {

std::string_view g_program;
/// The first failed write that a writer noted; 0 when none.
std::atomic<int> g_noted_failure = 0;

/// Closes stream; the errno of what failed (-1 when the stream had failed
/// with a reason since lost), or 0. A stream closed before with nothing
/// left to write is no failure.
int CloseStream(std::FILE* stream) {
  const bool pending = __fpending(stream) != 0;
  const bool failed_before = std::ferror(stream) != 0;
  errno = 0;
  const bool close_failed = std::fclose(stream) != 0;
  if (close_failed && (failed_before || pending || errno != EBADF)) {
    return errno != 0 ? errno : -1;
  }
  return failed_before ? -1 : 0;
}

void CloseStandardStreams() {
  int failure = CloseStream(stdout);
  if (failure == 0) failure = g_noted_failure;
  if (failure != 0) {
    std::string line = std::string(g_program) + ": " +
                       InUserLanguage("書き込みエラー", "write error");
    if (failure > 0) line += ": " + SystemReason(failure);
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    CloseStream(stderr);
    _exit(EXIT_FAILURE);
  }
  if (CloseStream(stderr) != 0) _exit(EXIT_FAILURE);
}

}  // namespace

void CheckStandardStreamsAtExit(std::string_view program) {
  g_program = program;
  std::atexit(CloseStandardStreams);
}

void NoteWriteFailure(int errnum) {
  int none = 0;
  g_noted_failure.compare_exchange_strong(none, errnum != 0 ? errnum : -1);
}

}  // namespace holvan
