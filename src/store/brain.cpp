#include "store/brain.h"

#include "text/cp932.h"
#include "text/primitives.h"

namespace holvan {

void Brain::Add(NarrowText key, NarrowText value) {
  keys_.Add(std::move(key));
  values_.Add(std::move(value));
}

void Brain::SetValue(int32_t i, NarrowText value) {
  values_.Put(i, std::move(value));
}

void Brain::Clear() {
  keys_.Clear();
  values_.Clear();
}

void Brain::Reserve(std::size_t n) {
  keys_.Reserve(n);
  values_.Reserve(n);
}

int32_t Brain::FindKeyStartingWith(std::string_view topic) const {
  const auto& keys = keys_.entries();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (BytePos(topic, keys[i]) == 1) return static_cast<int32_t>(i);
  }
  return -1;
}

void Brain::ForEachKeyIn(std::u16string_view line,
                         const std::function<bool(int32_t)>& visit) const {
  const auto& keys = keys_.entries();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (WidePos(ToWide(keys[i]), line) > 0 && visit(static_cast<int32_t>(i))) {
      return;
    }
  }
}

}  // namespace holvan
