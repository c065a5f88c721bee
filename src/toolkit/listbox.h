#pragma once
// A multi-column list of text cells. It also serves, hidden, as an
// in-memory table. Indexes out of range read "" and write nothing.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <vector>

#include "toolkit/control.h"

namespace tk {

class ListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Rows dragged to another place: the dragged row is moved, nothing is
  // copied or removed.
  void setRowsMovable(bool movable) { movable_ = movable; }
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;

  void setColumns(int count);
  int columns() const { return columns_; }
  const QString& cell(int row, int column) const;
  bool setCell(int row, int column, const QString& text);
  void addRow(QStringList cells);
  void removeRow(int row);
  void clear();
  void sortRows(const std::function<bool(const QStringList&, const QStringList&)>& less);

 private:
  int columns_ = 1;
  bool movable_ = false;
  std::vector<QStringList> rows_;
};

class Listbox : public Control<QTableView> {
  Q_OBJECT
 public:
  explicit Listbox(QWidget* parent = nullptr);

  // A new last row whose first cell is `text`; the other cells are empty.
  void AddRow(const QString& text);
  // A new last row with these cells (missing cells empty, extra ones dropped).
  void AddRow(const QStringList& cells);
  int LastIndex() const { return lastIndex_; }
  QString Cell(int row, int column) const;
  void SetCell(int row, int column, const QString& text);
  int ListCount() const;
  int ColumnCount() const { return model_->columns(); }
  void SetColumnCount(int count);
  // The selected row, -1 when none is. Setting it selects that row (and
  // -1, or a row out of range, clears the selection).
  int ListIndex() const;
  void SetListIndex(int row);
  void RemoveRow(int row);
  void DeleteAllRows();
  // Stable ascending sort on the first column, plain text order.
  void Sort();
  // Stable sort with the caller's order of rows (true when a comes first).
  void Sort(const std::function<bool(const QStringList& a, const QStringList& b)>& less);

  // The user may drag a row to another place in the list.
  void SetRowsDraggable(bool draggable);
  bool RowsDraggable() const { return dragEnabled(); }

  // Widths in percent of the list's width, "20%,20%,60%,0%". A 0% column
  // is hidden but keeps its cells. Empty: the columns share the width.
  void SetColumnWidths(const QString& widths);
  QString ColumnWidths() const { return widths_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void applyColumnWidths();
  ListModel* model_;
  QString widths_;
  int lastIndex_ = -1;
};

}  // namespace tk
