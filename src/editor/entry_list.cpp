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

void EntryModel::SetRows(std::vector<EntryRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int EntryModel::RowOfLine(int32_t line) const {
  const auto found = std::lower_bound(
      rows_.begin(), rows_.end(), line,
      [](const EntryRow& row, int32_t wanted) { return row.line < wanted; });
  if (found == rows_.end() || found->line != line) return -1;
  return static_cast<int>(found - rows_.begin());
}

int EntryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant EntryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const EntryRow& row = Row(index.row());
  const int cell = index.column() - (line_column_ ? 1 : 0);
  if (role == Qt::TextAlignmentRole && cell < 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == Qt::FontRole && row.unreadable) {
    QFont italic;
    italic.setItalic(true);
    return italic;
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (cell < 0)
    return role == Qt::DisplayRole ? QVariant(row.line) : QVariant();
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
    : QTreeView(parent),
      model_(new EntryModel(std::move(headers), line_column, this)) {
  setModel(model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(many ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setPalette(GreyFieldColours(palette()));
  header()->setStretchLastSection(true);
  header()->setSectionsMovable(false);
  connect(this, &QAbstractItemView::doubleClicked, this, [this] {
    if (open_) open_();
  });
}

void EntryList::SetRows(std::vector<EntryRow> rows) {
  const std::optional<int32_t> current = CurrentLine();
  const std::vector<int32_t> selected = SelectedLines();
  model_->SetRows(std::move(rows));
  if (model_->rowCount() == 0) return;
  for (int column = 0; column + 1 < model_->columnCount(); ++column) {
    resizeColumnToContents(column);
  }
  if (!current) return;
  int row = model_->RowOfLine(*current);
  if (row < 0 && *current > model_->Row(model_->rowCount() - 1).line) {
    row = model_->rowCount() - 1;
  }
  if (row < 0) return;
  setCurrentIndex(model_->index(row, 0));
  for (int32_t line : selected) {
    const int other = model_->RowOfLine(line);
    if (other >= 0 && other != row) {
      selectionModel()->select(
          model_->index(other, 0),
          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
}

std::optional<int32_t> EntryList::CurrentLine() const {
  const EntryRow* entry = CurrentEntry();
  if (entry == nullptr) return std::nullopt;
  return entry->line;
}

const EntryRow* EntryList::CurrentEntry() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !selectionModel()->isRowSelected(current.row())) {
    return nullptr;
  }
  return &model_->Row(current.row());
}

std::vector<int32_t> EntryList::SelectedLines() const {
  std::vector<int32_t> lines;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    lines.push_back(model_->Row(index.row()).line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

bool EntryList::SelectLine(int32_t line) {
  const int row = model_->RowOfLine(line);
  if (row < 0) return false;
  const QModelIndex index = model_->index(row, 0);
  setCurrentIndex(index);
  scrollTo(index);
  return true;
}

void EntryList::OnSelection(std::function<void()> changed) {
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [changed = std::move(changed)] { changed(); });
}

void EntryList::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && open_) {
    open_();
  } else if (key == Qt::Key_Delete && remove_) {
    remove_();
  } else {
    QTreeView::keyPressEvent(event);
  }
}

}  // namespace holvan::editor
