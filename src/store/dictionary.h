#pragma once

#include <cstdint>

#include "text/line_list.h"

namespace holvan {

/// The facts from "dic.dat": keys and values paired by position. Taught pairs
/// are appended; nothing is ever written back.
class Dictionary {
 public:
  int32_t Count() const { return keys_.Count(); }
  const NarrowText& Key(int32_t i) const { return keys_.Get(i); }
  const NarrowText& Value(int32_t i) const { return values_.Get(i); }
  void Add(NarrowText key, NarrowText value);
  void Clear();
  /// Makes room for n entries ahead of a bulk load.
  void Reserve(std::size_t n);
  /// Index of the first key equal to key, or -1.
  int32_t Find(std::string_view key) const;

 private:
  LineList keys_;
  LineList values_;
};

}  // namespace holvan
