#pragma once

#include <optional>

#include "editor/memory_page.h"

namespace holvan::editor {

class EntryList;
class LineLister;

/// 覚えた言葉: the words of brain.dat with their definitions, newest first;
/// words added, renamed and removed, and one definition at a time added,
/// changed and removed.
class WordsPage : public MemoryPage {
 public:
  WordsPage(MemoryEdits& edits, QWidget* parent);

  void Show(const memory::MemoryFolder& memory, const Search& search) override;
  bool GoToLine(int32_t line) override;
  bool Listing() const override;
  void StopListing() override;

 private:
  /// The entry of the current word, when one word is selected.
  std::optional<memory::BrainEntry> CurrentWord() const;
  /// Shows the definitions of the current word.
  void ShowDefinitions();

  void AddWord();
  void RenameWord();
  void RemoveWords();
  void AddDefinition();
  void ChangeDefinition();
  void RemoveDefinition();

  EntryList* words_;
  EntryList* definitions_;
  LineLister* lister_;
  /// The memory last shown.
  const memory::MemoryFolder* memory_ = nullptr;
  /// The line of the word whose definitions are shown; 0 for none.
  int32_t shown_word_ = 0;
  QPushButton* rename_button_;
  QPushButton* remove_button_;
  QPushButton* change_definition_button_;
  QPushButton* remove_definition_button_;
};

}  // namespace holvan::editor
