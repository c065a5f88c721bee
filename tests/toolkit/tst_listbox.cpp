#include <QMimeData>
#include <QTest>
#include <memory>

#include "toolkit/listbox.h"

class TestListbox : public QObject {
  Q_OBJECT
 private slots:
  void rowsAndCells() {
    tk::Listbox list;
    list.SetColumnCount(3);
    QCOMPARE(list.ListCount(), 0);
    QCOMPARE(list.LastIndex(), -1);
    list.AddRow("12");
    QCOMPARE(list.LastIndex(), 0);
    list.SetCell(list.LastIndex(), 1, "7.50");
    list.AddRow(QStringList{"13", "1.00", "Aquaflore", "extra"});
    QCOMPARE(list.ListCount(), 2);
    QCOMPARE(list.LastIndex(), 1);
    QCOMPARE(list.Cell(0, 0), QString("12"));
    QCOMPARE(list.Cell(0, 1), QString("7.50"));
    QCOMPARE(list.Cell(0, 2), QString());
    QCOMPARE(list.Cell(1, 2), QString("Aquaflore"));
    QCOMPARE(list.ColumnCount(), 3);
  }

  void outOfRange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row past the end") << 2 << 0;
    QTest::newRow("negative row") << -1 << 0;
    QTest::newRow("column past the end") << 0 << 3;
    QTest::newRow("negative column") << 0 << -1;
  }
  void outOfRange() {
    QFETCH(int, row);
    QFETCH(int, column);
    tk::Listbox list;
    list.SetColumnCount(3);
    list.AddRow(QStringList{"a", "b", "c"});
    list.AddRow(QStringList{"d", "e", "f"});
    QCOMPARE(list.Cell(row, column), QString());
    list.SetCell(row, column, "x");
    QCOMPARE(list.ListCount(), 2);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) QVERIFY(list.Cell(r, c) != "x");
    list.RemoveRow(row < 0 || row >= 2 ? row : 5);
    QCOMPARE(list.ListCount(), 2);
  }

  // A row dragged (from) and dropped before row `to` (-1: after the last),
  // or onto row `onto`: the rows' new order, with the dragged row still
  // the selected one.
  void dragMovesARow_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("onto");
    QTest::addColumn<QString>("order");
    QTest::newRow("down") << 0 << 3 << -1 << "bcad";
    QTest::newRow("up to the top") << 3 << 0 << -1 << "dabc";
    QTest::newRow("below the last") << 1 << -1 << -1 << "acdb";
    QTest::newRow("onto a row") << 2 << -1 << 0 << "cabd";
    QTest::newRow("before itself") << 1 << 1 << -1 << "abcd";
    QTest::newRow("after itself") << 1 << 2 << -1 << "abcd";
  }
  void dragMovesARow() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, onto);
    QFETCH(QString, order);
    tk::Listbox list;
    list.SetColumnCount(2);
    list.SetRowsDraggable(true);
    for (const char* r : {"a", "b", "c", "d"}) list.AddRow(QStringList{r, QString(r) + "!"});
    list.SetListIndex(from);
    QAbstractItemModel* m = list.model();
    QVERIFY(m->flags(m->index(from, 0)) & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> dragged(m->mimeData({m->index(from, 0), m->index(from, 1)}));
    QVERIFY(m->dropMimeData(dragged.get(), Qt::MoveAction, to, 0, onto < 0 ? QModelIndex() : m->index(onto, 0)));
    QString got;
    for (int r = 0; r < list.ListCount(); ++r) {
      got += list.Cell(r, 0);
      QCOMPARE(list.Cell(r, 1), list.Cell(r, 0) + "!");
    }
    QCOMPARE(got, order);
    QCOMPARE(list.Cell(list.ListIndex(), 0), QString(QChar('a' + from)));
  }

  void rowsStayWhereTheyAreUnlessDraggable() {
    tk::Listbox list;
    list.AddRow("a");
    list.AddRow("b");
    QAbstractItemModel* m = list.model();
    QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsDragEnabled));
    std::unique_ptr<QMimeData> dragged(m->mimeData({m->index(0, 0)}));
    QVERIFY(!m->dropMimeData(dragged.get(), Qt::MoveAction, -1, 0, QModelIndex()));
    QCOMPARE(list.Cell(0, 0), QString("a"));
  }

  void hiddenColumnKeepsItsCells() {
    tk::Listbox list;
    list.SetColumnCount(4);
    list.SetColumnWidths("20%,20%,60%,0%");
    list.resize(352, 375);
    list.show();
    list.AddRow(QStringList{"12", "7.50", "Aquaflore", "3"});
    QVERIFY(list.isColumnHidden(3));
    QVERIFY(!list.isColumnHidden(2));
    QCOMPARE(list.Cell(0, 3), QString("3"));
    QVERIFY(list.columnWidth(2) > list.columnWidth(0));
  }

  void selection() {
    tk::Listbox list;
    list.SetColumnCount(2);
    for (const char* c : {"1", "2", "3"}) list.AddRow(c);
    QCOMPARE(list.ListIndex(), -1);
    // A current row without a selection is no selection.
    list.setCurrentIndex(list.model()->index(1, 0));
    list.clearSelection();
    QCOMPARE(list.ListIndex(), -1);
    list.SetListIndex(2);
    QCOMPARE(list.ListIndex(), 2);
    QCOMPARE(list.selectionModel()->selectedRows().size(), 1);
    list.SetListIndex(-1);
    QCOMPARE(list.ListIndex(), -1);
    list.SetListIndex(7);
    QCOMPARE(list.ListIndex(), -1);
  }

  void removeAndDelete() {
    tk::Listbox list;
    list.SetColumnCount(1);
    for (const char* c : {"1", "2", "3"}) list.AddRow(c);
    list.RemoveRow(1);
    QCOMPARE(list.ListCount(), 2);
    QCOMPARE(list.Cell(1, 0), QString("3"));
    QCOMPARE(list.LastIndex(), 1);
    list.DeleteAllRows();
    QCOMPARE(list.ListCount(), 0);
    QCOMPARE(list.LastIndex(), -1);
    QCOMPARE(list.ListIndex(), -1);
  }

  void sortIsStableOnTheFirstColumn() {
    tk::Listbox list;
    list.SetColumnCount(2);
    list.AddRow(QStringList{"b", "1"});
    list.AddRow(QStringList{"a", "2"});
    list.AddRow(QStringList{"b", "3"});
    list.AddRow(QStringList{"a", "4"});
    list.Sort();
    QStringList order;
    for (int r = 0; r < list.ListCount(); ++r) order << list.Cell(r, 0) + list.Cell(r, 1);
    QCOMPARE(order, QStringList({"a2", "a4", "b1", "b3"}));
    // The caller's order, still stable.
    list.Sort([](const QStringList& x, const QStringList& y) { return x.at(1).toInt() % 2 < y.at(1).toInt() % 2; });
    order.clear();
    for (int r = 0; r < list.ListCount(); ++r) order << list.Cell(r, 1);
    QCOMPARE(order, QStringList({"2", "4", "1", "3"}));
  }

  void hiddenListIsATable() {
    tk::Listbox list;
    list.SetColumnCount(2);
    list.hide();
    list.AddRow("12");
    list.SetCell(0, 1, "3.00");
    QCOMPARE(list.Cell(0, 1), QString("3.00"));
    QVERIFY(!list.isVisible());
  }
};

QTEST_MAIN(TestListbox)
#include "tst_listbox.moc"
