#include "editor/entry_list.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "qt/colours.h"
#include "qt/shown_text.h"

namespace holvan::editor {

EntryModel::EntryModel(QStringList headers, bool line_column, QObject* parent)
    : QAbstractTableModel(parent),
      headers_(std::move(headers)),
      line_column_(line_column) {}

void EntryModel::SetRows(std::vector<int32_t> lines, RowOf row_of) {
  beginResetModel();
  lines_ = LineRuns(lines);
  row_of_ = std::move(row_of);
  made_.reset();
  endResetModel();
}

void EntryModel::AddRows(const std::vector<int32_t>& lines) {
  if (lines.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
  lines_.Append(lines);
  endInsertRows();
}

EntryRow EntryModel::Row(int row) const {
  const int32_t line = LineAt(row);
  if (!made_ || made_->line != line) made_ = row_of_(line);
  return *made_;
}

int EntryModel::RowOfLine(int32_t line) const { return lines_.RowOf(line); }

int EntryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : lines_.Count();
}

int EntryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant EntryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int cell = index.column() - (line_column_ ? 1 : 0);
  if (role == Qt::TextAlignmentRole && cell < 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == Qt::FontRole) {
    if (!Row(index.row()).unreadable) return {};
    QFont italic;
    italic.setItalic(true);
    return italic;
  }
  if (cell < 0) {
    return role == Qt::DisplayRole ? QVariant(LineAt(index.row())) : QVariant();
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const EntryRow row = Row(index.row());
  if (static_cast<std::size_t>(cell) >= row.cells.size()) return {};
  return ShownText(row.cells[static_cast<std::size_t>(cell)]);
}

QVariant EntryModel::headerData(int section, Qt::Orientation orientation,
                                int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
      section >= headers_.size()) {
    return {};
  }
  return headers_[section];
}

EntryList::EntryList(QStringList headers, bool line_column, bool many,
                     QWidget* parent)
    : QTableView(parent),
      model_(new EntryModel(std::move(headers), line_column, this)) {
  setModel(model_);
  setShowGrid(false);
  setWordWrap(false);
  setTabKeyNavigation(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(many ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setPalette(GreyFieldColours(palette()));
  // Rows of one height, none measured: a million cost no more than a page.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setStretchLastSection(true);
  // Columns fit the rows in sight, not the thousand a long list would give.
  horizontalHeader()->setResizeContentsPrecision(0);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(this, &QAbstractItemView::doubleClicked, this, [this] {
    if (open_) open_();
  });
}

void EntryList::SetRows(std::vector<int32_t> lines, EntryModel::RowOf row_of,
                        bool complete) {
  if (const std::optional<int32_t> current = CurrentLine()) {
    wanted_ = Wanted{*current, SelectedLines()};
  }
  model_->SetRows(std::move(lines), std::move(row_of));
  columns_fitted_ = false;
  FitColumns();
  SelectWanted(complete);
}

void EntryList::AddRows(const std::vector<int32_t>& lines, bool complete) {
  model_->AddRows(lines);
  FitColumns();
  SelectWanted(complete);
}

void EntryList::FitColumns() {
  const int last = model_->rowCount() - 1;
  if (last < 0) return;
  if (!columns_fitted_ && isVisible()) {
    columns_fitted_ = true;
    for (int column = 0; column + 1 < model_->columnCount(); ++column) {
      resizeColumnToContents(column);
    }
  }
  if (model_->line_column()) {
    // Lines ascend: the last has the longest number.
    const int needed = sizeHintForIndex(model_->index(last, 0)).width();
    if (columnWidth(0) < needed) setColumnWidth(0, needed);
  }
}

void EntryList::showEvent(QShowEvent* event) {
  QTableView::showEvent(event);
  FitColumns();
}

void EntryList::SelectWanted(bool complete) {
  // Another entry chosen meanwhile wins.
  if (!wanted_ || CurrentLine()) {
    wanted_.reset();
    return;
  }
  int row = model_->RowOfLine(wanted_->current);
  const int last = model_->rowCount() - 1;
  if (row < 0 && complete && last >= 0 &&
      wanted_->current > model_->LineAt(last)) {
    row = last;
  }
  if (row < 0 && !complete) return;
  const Wanted wanted = std::move(*wanted_);
  wanted_.reset();
  if (row < 0) return;
  setCurrentIndex(model_->index(row, 0));
  for (int32_t line : wanted.selected) {
    const int other = model_->RowOfLine(line);
    if (other >= 0 && other != row) {
      selectionModel()->select(
          model_->index(other, 0),
          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
}

std::optional<int32_t> EntryList::CurrentLine() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !selectionModel()->isRowSelected(current.row())) {
    return std::nullopt;
  }
  return model_->LineAt(current.row());
}

std::optional<EntryRow> EntryList::CurrentEntry() const {
  const std::optional<int32_t> line = CurrentLine();
  if (!line) return std::nullopt;
  return model_->Row(model_->RowOfLine(*line));
}

std::vector<int32_t> EntryList::SelectedLines() const {
  std::vector<int32_t> lines;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    lines.push_back(model_->LineAt(index.row()));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

bool EntryList::SelectLine(int32_t line) {
  const int row = model_->RowOfLine(line);
  if (row < 0) return false;
  wanted_.reset();
  const QModelIndex index = model_->index(row, 0);
  setCurrentIndex(index);
  scrollTo(index);
  return true;
}

void EntryList::SelectWhenListed(int32_t line) {
  if (SelectLine(line)) return;
  clearSelection();
  setCurrentIndex({});
  wanted_ = Wanted{line, {}};
}

void EntryList::OnSelection(std::function<void()> changed) {
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [changed = std::move(changed)] { changed(); });
}

void EntryList::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  // A click selects what it hits; an entry still to come is selected then.
  if (event->reason() == Qt::MouseFocusReason || wanted_ || CurrentLine() ||
      model_->rowCount() == 0) {
    return;
  }
  const QModelIndex current = currentIndex();
  setCurrentIndex(model_->index(current.isValid() ? current.row() : 0, 0));
}

void EntryList::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && open_) {
    open_();
  } else if (key == Qt::Key_Delete && remove_) {
    remove_();
  } else {
    QTableView::keyPressEvent(event);
  }
}

}  // namespace holvan::editor
