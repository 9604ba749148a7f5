#pragma once

#include <string>

namespace holvan {

/// Why a system call failed with errnum, as a short phrase in the user's
/// language ("ファイルがありません", "No such file or directory"), UTF-8.
std::string SystemReason(int errnum);

}  // namespace holvan
