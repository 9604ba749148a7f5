#pragma once

#include "editor/list_page.h"

namespace holvan::editor {

/// 発言の記録: the lines of res.dat, changed and removed.
class PhrasesPage : public ListPage {
 public:
  PhrasesPage(MemoryEdits& edits, QWidget* parent);

  void Show(const memory::MemoryFolder& memory, const Search& search) override;

 private:
  void Change() override;
};

}  // namespace holvan::editor
