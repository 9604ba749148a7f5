#pragma once

#include <string>

namespace holvan::term {

/// What the version dialog shows, as UTF-8 lines: name and version, the six
/// lines of its memo and the author's notice.
std::string VersionText();

}  // namespace holvan::term
