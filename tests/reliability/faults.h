#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/file_faults.h"

namespace holvan::testing {

/// Writes bytes to path exactly.
void WriteFile(const std::string& path, const std::string& bytes);
/// All bytes of path; "" when it cannot be read.
std::string ReadFile(const std::string& path);

/// The entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

/// One row of the reliability summary: scripts/reliability collects these
/// lines from the test output into its table.
void ReportCase(const std::string& group, const std::string& name,
                const std::string& outcome, const std::string& verified);
/// The outcome column of a case: "ok: " or "FAILED: " before what it shows.
std::string Reported(bool ok, const std::string& outcome);

}  // namespace holvan::testing
