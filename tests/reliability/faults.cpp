#include "faults.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace holvan::testing {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ReportCase(const std::string& group, const std::string& name,
                const std::string& outcome, const std::string& verified) {
  std::printf("@@reliability|%s|%s|%s|%s\n", group.c_str(), name.c_str(),
              outcome.c_str(), verified.c_str());
  std::fflush(stdout);
}

std::string Reported(bool ok, const std::string& outcome) {
  return std::string(ok ? "ok" : "FAILED") + ": " + outcome;
}

}  // namespace holvan::testing
