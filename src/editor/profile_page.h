#pragma once

#include "editor/memory_page.h"

namespace holvan {
class InputLine;
}

namespace holvan::editor {

/// プロフィール: the user's name, line 1 of holv.dat.
class ProfilePage : public MemoryPage {
 public:
  ProfilePage(MemoryEdits& edits, QWidget* parent);

  /// The name is shown whatever the search.
  void Show(const memory::MemoryFolder& memory, const Search& search) override;
  /// Any line of holv.dat shows the name.
  bool GoToLine(int32_t line) override;
  void SetEditable(bool editable) override;
  /// The name typed, when it is not the name.
  std::function<void(memory::MemoryFolder&)> TypedEdit() const override;

 private:
  void Rename();

  InputLine* name_;
  /// The name last read, so that a name being typed stays until it changes.
  NarrowText shown_name_;
};

}  // namespace holvan::editor
