#pragma once

#include <string_view>

namespace holvan {

/// Makes the end of the program (a return from main or exit) flush and close
/// standard output and then standard error, as well-kept command-line tools
/// do: when a write to either failed, or the close of standard output fails,
/// "PROGRAM: write error: REASON" ("書き込みエラー" for a Japanese user) goes
/// to standard error and the exit status becomes 1. program must outlive the
/// program (a literal).
void CheckStandardStreamsAtExit(std::string_view program);

/// Tells the end of the program that a write to standard output or error
/// failed with errnum, for a writer that clears the stream's error to go on.
void NoteWriteFailure(int errnum);

}  // namespace holvan
