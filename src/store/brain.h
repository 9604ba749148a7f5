#pragma once

#include <cstdint>
#include <functional>

#include "text/line_list.h"

namespace holvan {

/// What the companion has learned: keys and values (definitions joined by "＊",
/// newest first) paired by position. Entries are appended and values
/// rewritten in place; nothing is reordered or removed.
class Brain {
 public:
  int32_t Count() const { return keys_.Count(); }
  const NarrowText& Key(int32_t i) const { return keys_.Get(i); }
  const NarrowText& Value(int32_t i) const { return values_.Get(i); }
  void Add(NarrowText key, NarrowText value);
  void SetValue(int32_t i, NarrowText value);
  void Clear();
  /// Makes room for n entries ahead of a bulk load.
  void Reserve(std::size_t n);

  /// Index of the first key whose bytes begin with topic (BytePos = 1), or
  /// -1; an empty topic begins no key.
  int32_t FindKeyStartingWith(std::string_view topic) const;

  /// Calls visit with the index of every entry whose key occurs in line
  /// (WidePos > 0; an empty key never does), in list order, until visit
  /// returns true.
  void ForEachKeyIn(std::u16string_view line,
                    const std::function<bool(int32_t)>& visit) const;

 private:
  LineList keys_;
  LineList values_;
};

}  // namespace holvan
