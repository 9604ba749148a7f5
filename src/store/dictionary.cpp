#include "store/dictionary.h"

namespace holvan {

void Dictionary::Add(NarrowText key, NarrowText value) {
  keys_.Add(std::move(key));
  values_.Add(std::move(value));
}

void Dictionary::Clear() {
  keys_.Clear();
  values_.Clear();
}

void Dictionary::Reserve(std::size_t n) {
  keys_.Reserve(n);
  values_.Reserve(n);
}

int32_t Dictionary::Find(std::string_view key) const {
  const auto& keys = keys_.entries();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace holvan
