#include "memory/places.h"

#include <cstdlib>
#include <filesystem>

#include "errors/error.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

/// $variable + below when it is an absolute path, else $HOME + fallback +
/// below.
std::optional<std::string> UserFolder(const char* variable,
                                      std::string_view fallback,
                                      std::string_view below) {
  const char* base = std::getenv(variable);
  if (base != nullptr && base[0] == '/') {
    return std::string(base) + std::string(below);
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return std::nullopt;
  return std::string(home) + std::string(fallback) + std::string(below);
}

}  // namespace

std::optional<std::string> DefaultMemoryFolder() {
  return UserFolder("XDG_DATA_HOME", "/.local/share", "/holvan");
}

std::optional<std::string> DefaultBackupsFolder() {
  return UserFolder("XDG_STATE_HOME", "/.local/state", "/holvan/backups");
}

std::optional<std::string> BackupsFolderFor(
    const std::string& folder, const std::optional<std::string>& given) {
  if (given) return given;
  const std::optional<std::string> memory = DefaultMemoryFolder();
  if (!memory || !SameFolder(folder, *memory)) return std::nullopt;
  return DefaultBackupsFolder();
}

std::string MemoryFolderToUse(const std::optional<std::string>& dir) {
  const std::optional<std::string> folder = dir ? dir : DefaultMemoryFolder();
  if (!folder) {
    throw Error(
        "XDG_DATA_HOME も HOME もないので、記憶のフォルダがわかりません"_sj);
  }
  if (!IsFolder(*folder)) {
    throw Error("記憶のフォルダ "_sj + Utf8ToNarrow(*folder) +
                " がありません"_sj);
  }
  return *folder;
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace holvan::memory
