#include "memory/export.h"

#include "files/atomic_save.h"
#include "store/data_files.h"
#include "text/cp932.h"

namespace holvan::memory {

std::string ExportName(MemoryFile file) {
  std::string_view name = FileName(file);
  name.remove_suffix(name.size() - name.rfind('.'));
  return std::string(name) + ".txt";
}

std::vector<std::string> ExportUtf8(const MemoryFolder& memory,
                                    const NarrowText& folder) {
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
    SaveFileAtomically(DataFilePath(folder, name), text);
    written.push_back(name);
  }
  return written;
}

}  // namespace holvan::memory
