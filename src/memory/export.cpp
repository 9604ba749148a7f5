#include "memory/export.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "errors/error.h"
#include "memory/private_files.h"
#include "os/descriptors.h"
#include "text/cp932.h"
#include "text/literal.h"

namespace holvan::memory {
namespace {

using namespace holvan::literals;

/// Whether the folder open as fd holds nothing.
bool IsEmptyFolder(int fd) {
  DIR* dir = ::fdopendir(::dup(fd));
  if (dir == nullptr) return false;
  bool empty = true;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") empty = false;
  }
  ::closedir(dir);
  return empty;
}

}  // namespace

std::string ExportName(MemoryFile file) {
  std::string_view name = FileName(file);
  name.remove_suffix(name.size() - name.rfind('.'));
  return std::string(name) + ".txt";
}

std::vector<std::string> ExportUtf8(const MemoryFolder& memory,
                                    const std::string& folder) {
  struct stat st;
  if (::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    throw Error("書き出すフォルダ "_sj + Utf8ToNarrow(folder) +
                " はリンクなので、書き出しません"_sj);
  }
  if (!MakePrivateFolders(folder)) throw CreateError(folder);
  // Opened once, never through a link, for every file made in it.
  const Fd folder_fd(
      OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
  if (!folder_fd.ok()) throw CreateError(folder);
  if (!IsEmptyFolder(folder_fd.get())) {
    throw Error("書き出すフォルダ "_sj + Utf8ToNarrow(folder) +
                " は空ではありません。新しいフォルダか空のフォルダを指定して"
                "ください"_sj);
  }
  std::vector<std::string> written;
  for (MemoryFile file : kMemoryFiles) {
    if (!memory.Exists(file)) continue;
    const FileLines& lines = memory.Lines(file);
    std::string text;
    for (int32_t i = 0; i < lines.Count(); ++i) {
      text += NarrowToUtf8(lines.Text(i));
      text += '\n';
    }
    const std::string name = ExportName(file);
    WriteNewFile(folder_fd.get(), name, text, folder + "/" + name);
    written.push_back(name);
  }
  ::fsync(folder_fd.get());
  return written;
}

}  // namespace holvan::memory
