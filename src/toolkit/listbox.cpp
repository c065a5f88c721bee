#include "toolkit/listbox.h"

#include <QHeaderView>
#include <QMimeData>
#include <QResizeEvent>
#include <algorithm>

namespace tk {

namespace {
const QString& emptyText() {
  static const QString e;
  return e;
}
}  // namespace

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole) return {};
  return cell(index.row(), index.column());
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  const Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (!movable_) return f;
  // A row is dropped between rows, never onto one.
  return index.isValid() ? f | Qt::ItemIsDragEnabled : f | Qt::ItemIsDropEnabled;
}

namespace {
const QString RowMimeType = QStringLiteral("application/x-corvalenta-list-row");
}  // namespace

Qt::DropActions ListModel::supportedDropActions() const { return movable_ ? Qt::MoveAction : Qt::IgnoreAction; }

QStringList ListModel::mimeTypes() const { return {RowMimeType}; }

QMimeData* ListModel::mimeData(const QModelIndexList& indexes) const {
  if (indexes.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(RowMimeType, QByteArray::number(indexes.first().row()));
  return data;
}

bool ListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int, const QModelIndex& parent) {
  if (!movable_ || action != Qt::MoveAction || !data || !data->hasFormat(RowMimeType)) return false;
  bool ok = false;
  const int from = data->data(RowMimeType).toInt(&ok);
  const int count = static_cast<int>(rows_.size());
  if (!ok || from < 0 || from >= count) return false;
  int to = parent.isValid() ? parent.row() : row;  // the row it goes before
  if (to < 0 || to > count) to = count;
  if (to == from || to == from + 1) return true;  // already there
  beginMoveRows(QModelIndex(), from, from, QModelIndex(), to);
  const auto at = rows_.begin();
  if (to < from) {
    std::rotate(at + to, at + from, at + from + 1);
  } else {
    std::rotate(at + from, at + from + 1, at + to);
  }
  endMoveRows();
  return true;
}

void ListModel::setColumns(int count) {
  count = std::max(1, count);
  if (count == columns_) return;
  beginResetModel();
  columns_ = count;
  for (QStringList& r : rows_) {
    while (r.size() < columns_) r.append(QString());
    while (r.size() > columns_) r.removeLast();
  }
  endResetModel();
}

const QString& ListModel::cell(int row, int column) const {
  if (row < 0 || column < 0 || row >= static_cast<int>(rows_.size()) || column >= columns_)
    return emptyText();
  return rows_[static_cast<std::size_t>(row)].at(column);
}

bool ListModel::setCell(int row, int column, const QString& text) {
  if (row < 0 || column < 0 || row >= static_cast<int>(rows_.size()) || column >= columns_)
    return false;
  rows_[static_cast<std::size_t>(row)][column] = text;
  const QModelIndex i = index(row, column);
  emit dataChanged(i, i, {Qt::DisplayRole});
  return true;
}

void ListModel::addRow(QStringList cells) {
  while (cells.size() < columns_) cells.append(QString());
  while (cells.size() > columns_) cells.removeLast();
  const int row = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), row, row);
  rows_.push_back(std::move(cells));
  endInsertRows();
}

void ListModel::removeRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void ListModel::clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void ListModel::sortRows(const std::function<bool(const QStringList&, const QStringList&)>& less) {
  emit layoutAboutToBeChanged();
  std::stable_sort(rows_.begin(), rows_.end(), less);
  emit layoutChanged();
}

Listbox::Listbox(QWidget* parent) : Control<QTableView>(parent), model_(new ListModel(this)) {
  setModel(model_);
  horizontalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setMinimumSectionSize(0);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTabKeyNavigation(false);
}

void Listbox::AddRow(const QString& text) { AddRow(QStringList{text}); }

void Listbox::AddRow(const QStringList& cells) {
  model_->addRow(cells);
  lastIndex_ = model_->rowCount() - 1;
}

QString Listbox::Cell(int row, int column) const { return model_->cell(row, column); }

void Listbox::SetCell(int row, int column, const QString& text) { model_->setCell(row, column, text); }

int Listbox::ListCount() const { return model_->rowCount(); }

void Listbox::SetColumnCount(int count) {
  model_->setColumns(count);
  applyColumnWidths();
}

int Listbox::ListIndex() const {
  if (!selectionModel()) return -1;
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void Listbox::SetListIndex(int row) {
  if (row < 0 || row >= ListCount()) {
    clearSelection();
    return;
  }
  selectRow(row);
  scrollTo(model_->index(row, 0));
}

void Listbox::RemoveRow(int row) {
  if (row < 0 || row >= ListCount()) return;
  model_->removeRow(row);
  if (lastIndex_ >= ListCount()) lastIndex_ = ListCount() - 1;
}

void Listbox::DeleteAllRows() {
  model_->clear();
  lastIndex_ = -1;
}

void Listbox::Sort() {
  Sort([](const QStringList& a, const QStringList& b) { return a.at(0) < b.at(0); });
}

void Listbox::Sort(const std::function<bool(const QStringList&, const QStringList&)>& less) {
  clearSelection();
  model_->sortRows(less);
}

void Listbox::SetRowsDraggable(bool draggable) {
  model_->setRowsMovable(draggable);
  setDragEnabled(draggable);
  setAcceptDrops(draggable);
  setDragDropMode(draggable ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
  setDragDropOverwriteMode(false);
  setDefaultDropAction(Qt::MoveAction);
  setDropIndicatorShown(draggable);
}

void Listbox::SetColumnWidths(const QString& widths) {
  widths_ = widths;
  applyColumnWidths();
}

void Listbox::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  applyColumnWidths();
}

void Listbox::applyColumnWidths() {
  const int n = ColumnCount();
  const int total = viewport()->width();
  const QStringList parts = widths_.split(QLatin1Char(','), Qt::SkipEmptyParts);
  std::vector<double> pct(static_cast<std::size_t>(n), -1.0);
  double given = 0.0;
  for (int c = 0; c < n && c < parts.size(); ++c) {
    QString p = parts.at(c).trimmed();
    p.remove(QLatin1Char('%'));
    pct[static_cast<std::size_t>(c)] = std::max(0.0, p.toDouble());
    given += pct[static_cast<std::size_t>(c)];
  }
  // Columns without a width share what the given ones leave.
  const int rest = n - std::min(n, static_cast<int>(parts.size()));
  const double share = rest > 0 ? std::max(0.0, 100.0 - given) / rest : 0.0;
  for (int c = 0; c < n; ++c) {
    const double w = pct[static_cast<std::size_t>(c)] < 0 ? share : pct[static_cast<std::size_t>(c)];
    setColumnHidden(c, w <= 0.0);
    if (w > 0.0) setColumnWidth(c, static_cast<int>(total * w / 100.0));
  }
}

}  // namespace tk
