#include <QTest>

#include "core/module1.h"
#include "core/rules.h"
#include "support/harness.h"
#include "toolkit/controls.h"
#include "toolkit/files.h"
#include "toolkit/listbox.h"
#include "toolkit/text.h"
#include "ui/lists.h"

class TestModule1 : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    if (testing::frenchRunExpected()) QVERIFY2(testing::frenchLocaleActive(), "the French locale is not installed");
  }

  void globalsStartEmpty() {
    Module1::vc2 = "3";
    Module1::ovktaux = 0.2;
    Module1::generalfailure = -1;
    Module1::Initialise();
    for (const QString* t : {&Module1::thename, &Module1::vc2, &Module1::SonNom, &Module1::myday, &Module1::bacs2,
                             &Module1::adresse2, &Module1::zip2, &Module1::localite2, &Module1::rampes2})
      QVERIFY(t->isEmpty());
    QCOMPARE(Module1::grandtotal, 0.0);
    QCOMPARE(Module1::ovktaux, 0.0);
    QCOMPARE(Module1::FindVendor, std::int64_t(0));
    QCOMPARE(Module1::generalfailure, std::int64_t(0));
  }

  void commission_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("steps");
    QTest::addColumn<QString>("commission");
    QTest::newRow("0.05 step") << 0.1 << 12.34 << 20.0 << "1.25";
    QTest::newRow("0.1 step after an entry") << 0.1 << 12.34 << 10.0 << "1.2";
    QTest::newRow("15 % of 4.50") << 0.15 << 4.5 << 20.0 << "0.7";
    QTest::newRow("exact half in binary") << 0.1 << 1.25 << 20.0 << "0.15";
    QTest::newRow("gross 10.37") << 0.1 << 10.37 << 20.0 << "1.05";
    QTest::newRow("worked example") << 0.1 << 123.45 << 20.0 << "12.35";
    QTest::newRow("rate 0") << 0.0 << 987.65 << 20.0 << "0";
    QTest::newRow("negative amount") << 0.1 << -12.34 << 20.0 << "-1.25";
    QTest::newRow("nothing sold") << 0.1 << 0.0 << 20.0 << "0";
  }
  void commission() {
    QFETCH(double, rate);
    QFETCH(double, amount);
    QFETCH(double, steps);
    QFETCH(QString, commission);
    QCOMPARE(tk::Str(CommissionRounding(rate, amount, steps)), commission);
  }

  void amountFormatter() {
    tk::TextField fromat;
    fromat.SetFormat(tk::AmountFormat);
    fromat.hide();
    QCOMPARE(AmountFormatter(fromat, "12"), QString("12.00"));
    QCOMPARE(AmountFormatter(fromat, "7.5"), QString("7.50"));
    QCOMPARE(AmountFormatter(fromat, ""), QString(""));
  }

  void loader_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("rows");  // cells joined by "|"
    QTest::newRow("exact field count") << QByteArray("1,2.00\n2,3.50\n") << 2 << QStringList({"1|2.00", "2|3.50"});
    QTest::newRow("blanks trimmed, extra field dropped")
        << QByteArray("12, 7.50 ,Aquaflore,3,extra\n") << 4 << QStringList({"12|7.50|Aquaflore|3"});
    QTest::newRow("short line gives empty cells") << QByteArray("12\n13,1\n") << 3 << QStringList({"12||", "13|1|"});
    QTest::newRow("empty line") << QByteArray("\n1,2\n") << 2 << QStringList({"|", "1|2"});
    QTest::newRow("empty file") << QByteArray() << 2 << QStringList();
  }
  void loader() {
    QFETCH(QByteArray, content);
    QFETCH(int, columns);
    QFETCH(QStringList, rows);
    testing::Harness h;
    h.write("f.csv", content);
    tk::Listbox list;
    list.SetColumnCount(columns);
    list.AddRow("kept");  // the loader adds after what the list holds
    auto in = tk::GetFolderItem("").Child("f.csv").OpenAsTextFile();
    QList<int> seen;
    CsvListLoader(*in, list, [&](int row, const QStringList& fields) {
      seen << row;
      QCOMPARE(fields.size(), columns);
    });
    QCOMPARE(list.ListCount(), rows.size() + 1);
    QCOMPARE(list.Cell(0, 0), QString("kept"));
    for (int r = 0; r < rows.size(); ++r) {
      QStringList cells;
      for (int c = 0; c < columns; ++c) cells << list.Cell(r + 1, c);
      QCOMPARE(cells.join('|'), rows.at(r));
      QCOMPARE(seen.at(r), r + 1);
    }
  }
};

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
