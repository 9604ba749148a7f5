#pragma once

namespace holvan {

/// What both programs do before anything else. A closed standard descriptor
/// (0, 1 or 2) is opened on /dev/null, so that no file or pipe opened later
/// takes its number and is read as input or written as output: closed input
/// reads as its end. SIGXFSZ is ignored, so that a file-size limit fails the
/// write of a save instead of ending the program in the middle of it.
void PrepareProcess();

}  // namespace holvan
