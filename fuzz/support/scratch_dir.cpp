#include "support/scratch_dir.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace holvan::fuzz {

ScratchDir& ScratchDir::Get() {
  static ScratchDir dir;
  return dir;
}

ScratchDir::ScratchDir() {
  // Memory-backed when there is such a folder: saves sync every file, which
  // costs nothing there.
  std::error_code error;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, error) ||
      ::access(base.c_str(), W_OK) != 0) {
    base = std::filesystem::temp_directory_path();
  }
  std::string pattern = (base / "holvan-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("holvan fuzz: mkdtemp");
    std::abort();
  }
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::File(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

void ScratchDir::Empty() const {
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    std::filesystem::remove_all(entry.path());
  }
}

void ScratchDir::Write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) std::abort();
}

std::string ScratchDir::Read(std::string_view name) const {
  std::ifstream in(File(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool ScratchDir::Exists(std::string_view name) const {
  return std::filesystem::exists(File(name));
}

std::map<std::string, std::string> ScratchDir::PlaceFiles(
    const std::map<std::string, std::string>& sections,
    std::span<const char* const> names) const {
  Empty();
  std::map<std::string, std::string> files;
  for (const char* name : names) {
    const auto section = sections.find(name);
    if (section == sections.end()) continue;
    files[name] = section->second;
    Write(name, section->second);
  }
  return files;
}

}  // namespace holvan::fuzz
