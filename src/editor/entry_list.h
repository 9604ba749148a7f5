#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTreeView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "text/narrow_text.h"

namespace holvan::editor {

/// One entry shown in a list: the line of its file (or its place in a list
/// of definitions) and its texts, code page 932.
struct EntryRow {
  int32_t line = 0;
  std::vector<NarrowText> cells;
  /// A line that the file's store takes as no entry, shown in italics.
  bool unreadable = false;
};

/// The entries as a table: a first column with the line when it is shown,
/// then one column each for the cells. Texts are converted only when shown,
/// so that a long file costs little.
class EntryModel : public QAbstractTableModel {
 public:
  EntryModel(QStringList headers, bool line_column, QObject* parent);

  void SetRows(std::vector<EntryRow> rows);
  const EntryRow& Row(int row) const {
    return rows_[static_cast<std::size_t>(row)];
  }
  /// The row that shows line; -1 when none does.
  int RowOfLine(int32_t line) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;

 private:
  QStringList headers_;
  bool line_column_;
  std::vector<EntryRow> rows_;
};

/// A list of entries in Holvan's look: black text on grey, a flat frame.
/// Enter or a double click opens the entry, Delete removes the selected
/// ones.
class EntryList : public QTreeView {
 public:
  /// With many, several entries can be selected at once.
  EntryList(QStringList headers, bool line_column, bool many,
            QWidget* parent = nullptr);

  /// Shows rows. The entry on the line that was current stays current (after
  /// a removal, the one that took its line); past the end, the last one.
  void SetRows(std::vector<EntryRow> rows);
  /// The line of the current entry, when one is selected.
  std::optional<int32_t> CurrentLine() const;
  /// The current entry when one is selected, else nullptr; valid until the
  /// next SetRows.
  const EntryRow* CurrentEntry() const;
  /// The lines of the selected entries.
  std::vector<int32_t> SelectedLines() const;
  /// Makes the entry on line current and selected, and shows it; false when
  /// the list does not show it.
  bool SelectLine(int32_t line);

  /// What Enter and a double click do.
  void OnOpen(std::function<void()> open) { open_ = std::move(open); }
  /// What Delete does.
  void OnRemove(std::function<void()> remove) { remove_ = std::move(remove); }
  /// What a change of the selection does.
  void OnSelection(std::function<void()> changed);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  EntryModel* model_;
  std::function<void()> open_;
  std::function<void()> remove_;
};

}  // namespace holvan::editor
