#pragma once

#include <string>

namespace holvan::term {

/// What the version dialog shows, as UTF-8 lines: name and version, the six
/// lines of its memo and the author's notice.
std::string VersionText();

/// What --version shows after its first line: VersionText, then the licence
/// the binary is distributed under, in the user's language.
std::string AboutText();

}  // namespace holvan::term
