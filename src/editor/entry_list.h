#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "editor/line_runs.h"
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
/// then one column each for the cells. Only the lines are kept, as runs; a
/// row is made from its line when it is shown, so that a list of a million
/// entries costs next to nothing.
class EntryModel : public QAbstractTableModel {
 public:
  /// The entry on a line.
  using RowOf = std::function<EntryRow(int32_t line)>;

  EntryModel(QStringList headers, bool line_column, QObject* parent);

  /// Lists lines, in order, each made by row_of.
  void SetRows(std::vector<int32_t> lines, RowOf row_of);
  /// Adds lines, in order, after the last one listed.
  void AddRows(const std::vector<int32_t>& lines);
  EntryRow Row(int row) const;
  int32_t LineAt(int row) const { return lines_.At(row); }
  /// Whether the first column shows each row's line.
  bool line_column() const { return line_column_; }
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
  LineRuns lines_;
  RowOf row_of_;
  /// The row made last: a cell is asked for in several roles at once.
  mutable std::optional<EntryRow> made_;
};

/// A list of entries in Holvan's look: black text on grey, a flat frame.
/// Enter or a double click opens the entry, Delete removes the selected
/// ones. Reached by the keyboard with nothing selected, it selects its
/// current entry, else its first, so that its buttons work at once. Its rows
/// may come in several parts: what was selected is selected again when its line
/// comes.
class EntryList : public QTableView {
 public:
  /// With many, several entries can be selected at once.
  EntryList(QStringList headers, bool line_column, bool many,
            QWidget* parent = nullptr);

  /// Lists lines, each made by row_of; more may follow (AddRows) until
  /// complete. The entry on the line that was current stays current (after
  /// a removal, the one that took its line); past the end, the last one.
  void SetRows(std::vector<int32_t> lines, EntryModel::RowOf row_of,
               bool complete);
  /// Adds lines after the last listed.
  void AddRows(const std::vector<int32_t>& lines, bool complete);
  /// The line of the current entry, when one is selected.
  std::optional<int32_t> CurrentLine() const;
  /// The current entry when one is selected.
  std::optional<EntryRow> CurrentEntry() const;
  /// The lines of the selected entries.
  std::vector<int32_t> SelectedLines() const;
  /// Makes the entry on line current and selected, and shows it; false when
  /// the list does not show it.
  bool SelectLine(int32_t line);
  /// SelectLine now, or when line comes, unless another entry is chosen
  /// first.
  void SelectWhenListed(int32_t line);

  /// What Enter and a double click do.
  void OnOpen(std::function<void()> open) { open_ = std::move(open); }
  /// What Delete does.
  void OnRemove(std::function<void()> remove) { remove_ = std::move(remove); }
  /// What a change of the selection does.
  void OnSelection(std::function<void()> changed);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  /// What to select again once its line is listed.
  struct Wanted {
    int32_t current = 0;
    std::vector<int32_t> selected;
  };

  /// Selects what is wanted when it is listed, or, complete, the last entry
  /// for a line past the end.
  void SelectWanted(bool complete);
  /// Fits the columns but the last to the rows shown; a hidden list waits
  /// until it is shown, lest every row be measured. The line column is kept
  /// wide enough for the last line's number, below the rows in sight.
  void FitColumns();

  EntryModel* model_;
  std::optional<Wanted> wanted_;
  bool columns_fitted_ = false;
  std::function<void()> open_;
  std::function<void()> remove_;
};

}  // namespace holvan::editor
