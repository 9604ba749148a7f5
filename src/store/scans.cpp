#include "store/scans.h"

#include "text/cp932.h"
#include "text/primitives.h"

namespace holvan {

int32_t ScanForEqual(const std::vector<NarrowText>& keys,
                     std::string_view key) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t ScanForStartingWith(const std::vector<NarrowText>& keys,
                            std::string_view prefix) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (BytePos(prefix, keys[i]) == 1) return static_cast<int32_t>(i);
  }
  return -1;
}

void ScanForKeysIn(const std::vector<NarrowText>& keys,
                   std::u16string_view line,
                   const std::function<bool(int32_t)>& visit) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (WidePos(ToWide(keys[i]), line) > 0 && visit(static_cast<int32_t>(i))) {
      return;
    }
  }
}

}  // namespace holvan
