#pragma once

#include <string>
#include <string_view>

#include "text/narrow_text.h"

namespace holvan::term {

/// The UTF-8 form of a Transcript text for the terminal: CR LF pairs become
/// "\n", characters code page 932 cannot show and control characters but
/// the tab become U+FFFD.
std::string TerminalText(std::string_view narrow);

/// utf8 with its control characters (C0 but the tab, DEL, C1) as U+FFFD: a
/// data file or a typed line must not drive the terminal with escape
/// sequences.
std::string WithoutControls(std::string_view utf8);

/// What the terminal prints when appended bytes made text_after: the said
/// text followed by "\n". Appending puts the break after the said text, or
/// before it when the text did not end with a break.
std::string SaidTextOutput(std::string_view text_after,
                           std::string_view appended);

/// What the terminal prints for a text loaded into the Transcript: the text,
/// and a "\n" when it does not end with a break.
std::string LoadedTextOutput(std::string_view text);

}  // namespace holvan::term
