#pragma once

#include "editor/list_page.h"

namespace holvan::editor {

/// 辞書: the facts of dic.dat, key and text, added, changed and removed.
class FactsPage : public ListPage {
 public:
  FactsPage(MemoryEdits& edits, QWidget* parent);

  void Show(const memory::MemoryFolder& memory, const Search& search) override;

 private:
  void Add() override;
  void Change() override;
};

}  // namespace holvan::editor
