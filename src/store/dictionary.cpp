#include "store/dictionary.h"

#include "store/scans.h"

namespace holvan {

int32_t Dictionary::Find(std::string_view key) const {
  if (scans()) return ScanForEqual(keys(), key);
  return indexes().Find(keys(), key);
}

}  // namespace holvan
