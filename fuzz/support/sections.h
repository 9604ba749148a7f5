#pragma once

#include <map>
#include <string>
#include <string_view>

namespace holvan::fuzz {

/// An input taken apart into named sections: each section starts after a line
/// "@name" and runs to the next such line ("\n@brain\n" ends the section before
/// it). Bytes before the first header belong to the section "". A readable
/// form, so that the seed corpus can be written by hand.
std::map<std::string, std::string> SplitSections(std::string_view input);

}  // namespace holvan::fuzz
