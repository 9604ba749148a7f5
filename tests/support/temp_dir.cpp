#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "text/cp932.h"

namespace holvan::testing {

NarrowText Sj(std::string_view utf8) { return Utf8ToNarrow(utf8); }

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "holvan-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

void TempDir::WriteBytes(std::string_view name, std::string_view bytes) const {
  std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::WriteSj(std::string_view name, std::string_view utf8) const {
  WriteBytes(name, Sj(utf8));
}

std::string TempDir::ReadBytes(std::string_view name) const {
  std::ifstream in(File(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TempDir::Exists(std::string_view name) const {
  return std::filesystem::exists(File(name));
}

}  // namespace holvan::testing
