#pragma once

#include <optional>
#include <vector>

#include "memory/check.h"

class QWidget;

namespace holvan::editor {

/// Shows the problems of the check in a modal dialog titled 検査 (object
/// name "check_report", its list "problems_list"), each with its file and
/// line. Returns the problem the user double-clicked to go to, or nothing
/// when the dialog was closed.
std::optional<memory::Problem> ShowCheckReport(
    QWidget* parent, const std::vector<memory::Problem>& problems);

}  // namespace holvan::editor
