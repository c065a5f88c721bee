#include <QDir>
#include <QTest>
#include <algorithm>

#include "core/accounts.h"
#include "support/datafolder.h"
#include "toolkit/text.h"

namespace {

QStringList coupons(const std::vector<SaleEntry>& rows) {
  QStringList out;
  for (const SaleEntry& r : rows) out << r.coupon;
  return out;
}

}  // namespace

class TestAccounts : public QObject {
  Q_OBJECT
 private slots:
  // gross, rate, tanks, ramps → tanks, ramps, fees, gross, commission, net.
  void sellerTotals_data() {
    QTest::addColumn<double>("gross");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("tanks");
    QTest::addColumn<QString>("ramps");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("worked example") << 123.45 << 0.1 << "2" << "1"
                                    << QStringList({"2", "1", "15", "123.45", "12.35", "96.1"});
    QTest::newRow("10.37 at 0.1") << 10.37 << 0.1 << "0" << "0"
                                  << QStringList({"0", "0", "0", "10.37", "1.05", "9.32"});
    QTest::newRow("exact half: 1.25 at 0.1") << 1.25 << 0.1 << "0" << "0"
                                             << QStringList({"0", "0", "0", "1.25", "0.15", "1.1"});
    QTest::newRow("rate 0") << 50.0 << 0.0 << "1" << "1" << QStringList({"1", "1", "10", "50", "0", "40"});
    QTest::newRow("empty counts") << 20.0 << 0.1 << "" << "" << QStringList({"", "", "0", "20", "2", "18"});
    QTest::newRow("1.5 tanks") << 20.0 << 0.1 << "1.5" << "0"
                               << QStringList({"1.5", "0", "7.5", "20", "2", "10.5"});
    QTest::newRow("a word for a count") << 20.0 << 0.1 << "deux" << "1"
                                        << QStringList({"deux", "1", "5", "20", "2", "13"});
    QTest::newRow("nothing sold, rentals") << 0.0 << 0.1 << "2" << "1"
                                           << QStringList({"2", "1", "15", "0", "0", "-15"});
    QTest::newRow("negative gross") << -12.34 << 0.1 << "0" << "0"
                                    << QStringList({"0", "0", "0", "-12.34", "-1.25", "-11.09"});
    QTest::newRow("12345.67") << 12345.67 << 0.1 << "1" << "0"
                              << QStringList({"1", "0", "5", "12345.67", "1234.55", "11106.12"});
  }
  void sellerTotals() {
    QFETCH(double, gross);
    QFETCH(double, rate);
    QFETCH(QString, tanks);
    QFETCH(QString, ramps);
    QFETCH(QStringList, texts);
    const SellerAccount a = SellerTotals(gross, tanks, ramps, rate);
    QCOMPARE(a.Texts(), texts);
    QCOMPARE(a.net, (a.gross - a.commission) - a.fees);
  }

  // Fees changed by hand, or other rental counts: the net follows; the gross
  // and the commission stay as they were worked out.
  void netFollowsTheFees() {
    const SellerAccount built = SellerTotals(123.45, "2", "1", 0.1);
    const SellerAccount byHand = WithFees(built, 12.5);
    QCOMPARE(byHand.Texts(), QStringList({"2", "1", "12.5", "123.45", "12.35", "98.6"}));
    const SellerAccount rented = WithRentals(byHand, "1", "");
    QCOMPARE(rented.Texts(), QStringList({"1", "", "5", "123.45", "12.35", "106.1"}));
  }

  // Fees typed by hand keep their text as the field shows it (an emptied
  // field stays empty) while the net follows their number value; fees
  // worked out again drop it.
  void typedFees_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("fees");
    QTest::addColumn<QString>("net");
    QTest::newRow("a number") << "12.50" << 12.5 << "98.6";
    QTest::newRow("emptied") << "" << 0.0 << "111.1";
    QTest::newRow("negative") << "-3.00" << -3.0 << "114.1";
  }
  void typedFees() {
    QFETCH(QString, typed);
    QFETCH(double, fees);
    QFETCH(QString, net);
    const SellerAccount built = SellerTotals(123.45, "2", "1", 0.1);
    const SellerAccount byHand = WithTypedFees(built, typed);
    QCOMPARE(byHand.fees, fees);
    QCOMPARE(byHand.FeesText(), typed);
    QCOMPARE(byHand.Texts(), QStringList({"2", "1", typed, "123.45", "12.35", net}));
    QCOMPARE(WithRentals(byHand, "2", "1").Texts(), built.Texts());
    QCOMPARE(WithFees(byHand, 15.0).Texts(), built.Texts());
  }

  // Coupons as the file gives them → the order shown. Equal numbers keep
  // the file's order.
  void couponNumberOrder_data() {
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers, not texts") << QStringList({"100", "9", "10"}) << QStringList({"9", "10", "100"});
    QTest::newRow("12.5 equals 12") << QStringList({"12.5", "3", "12", "12.9"})
                                    << QStringList({"3", "12.5", "12", "12.9"});
    QTest::newRow("12 equals 12.5") << QStringList({"12", "12.5"}) << QStringList({"12", "12.5"});
    QTest::newRow("a word counts 0") << QStringList({"1", "abc", "0", ""}) << QStringList({"abc", "0", "", "1"});
    QTest::newRow("negative first") << QStringList({"0", "-3", "5", "-3.7"}) << QStringList({"-3", "-3.7", "0", "5"});
    QTest::newRow("beyond 64 bits counts 0")
        << QStringList({"1", "99999999999999999999", "-1", "1e400", "9000000000000000000"})
        << QStringList({"-1", "99999999999999999999", "1e400", "1", "9000000000000000000"});
    QTest::newRow("none") << QStringList() << QStringList();
  }
  void couponNumberOrder() {
    QFETCH(QStringList, given);
    QFETCH(QStringList, sorted);
    std::vector<SaleEntry> rows;
    for (int i = 0; i < given.size(); ++i) rows.push_back(SaleEntry{given.at(i), tk::Str(i)});
    std::vector<SaleEntry> byComparison = rows;
    SortByCouponNumber(rows);
    QCOMPARE(coupons(rows), sorted);
    // Each coupon keeps its own amount.
    for (const SaleEntry& r : rows) QCOMPARE(given.at(int(tk::Val(r.amount))), r.coupon);
    std::stable_sort(byComparison.begin(), byComparison.end(),
                     [](const SaleEntry& a, const SaleEntry& b) { return CouponNumberOrder(a.coupon, b.coupon); });
    QCOMPARE(coupons(byComparison), sorted);
  }

  // Many coupons of one whole number among others (a sheet where 7, 7.2
  // and 07 were all typed): each number's coupons keep the file's order,
  // amounts with them. Enough rows that an unstable sort moves them.
  void equalNumbersKeepTheFilesOrder() {
    const QStringList sevens{"7", "7.2", "07", "7.9", "7.25", "7.5", "007", "7.0"};
    std::vector<SaleEntry> rows;
    std::vector<int> numbers;  // each row's whole number
    for (int i = 0; i < 120; ++i) {
      const bool seven = i % 3 != 0;
      rows.push_back(SaleEntry{seven ? sevens.at(i % sevens.size()) : tk::Str(i % 11), tk::Str(i)});
      numbers.push_back(seven ? 7 : i % 11);
    }
    QStringList expected;
    for (int n = 0; n <= 10; ++n)
      for (std::size_t i = 0; i < rows.size(); ++i)
        if (numbers[i] == n) expected << rows[i].coupon + "|" + rows[i].amount;
    SortByCouponNumber(rows);
    QStringList sorted;
    for (const SaleEntry& r : rows) sorted << r.coupon + "|" + r.amount;
    QCOMPARE(sorted, expected);
  }

  // A sales file → its rows ("coupon|amount", file order) and the gross.
  void loadSellerSales_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("gross");
    QTest::newRow("trimmed and formatted") << QByteArray(" 100 , 12.5 \n9,3\n")
                                           << QStringList({"100|12.50", "9|3.00"}) << "15.5";
    QTest::newRow("CR LF, and no line end at the end") << QByteArray("1,2.50\r\n2,1")
                                                       << QStringList({"1|2.50", "2|1.00"}) << "3.5";
    QTest::newRow("a comma typed in the amount") << QByteArray("7,12,50\n") << QStringList({"7|12.00"}) << "12";
    QTest::newRow("short line, and an empty one") << QByteArray("5\n\n6,1\n") << QStringList({"5|", "6|1.00"}) << "1";
    QTest::newRow("a line of bare commas is a row") << QByteArray("5,1\n,\n,,\n") << QStringList({"5|1.00", "|", "|"})
                                                    << "1";
    // Blank lines give no row and add nothing to the gross, wherever they stand.
    QTest::newRow("blank line at the end") << QByteArray("1,2\n2,3\n\n") << QStringList({"1|2.00", "2|3.00"})
                                           << "5";
    QTest::newRow("blank line first") << QByteArray("\n1,2\n2,3\n") << QStringList({"1|2.00", "2|3.00"}) << "5";
    QTest::newRow("white space only, in the middle")
        << QByteArray("1,2\n \t \n2,3\n") << QStringList({"1|2.00", "2|3.00"}) << "5";
    QTest::newRow("CR LF blank line") << QByteArray("1,2\r\n\r\n2,3\r\n") << QStringList({"1|2.00", "2|3.00"})
                                      << "5";
    QTest::newRow("a lone CR") << QByteArray("1,2\n\r\r\n2,3\n") << QStringList({"1|2.00", "2|3.00"}) << "5";
    QTest::newRow("spaces, no line end at the end") << QByteArray("1,2\n2,3\n  ") << QStringList({"1|2.00", "2|3.00"})
                                                    << "5";
    QTest::newRow("blank lines only") << QByteArray("\n \n\r\n") << QStringList() << "0";
    QTest::newRow("amount that is no number") << QByteArray("8,abc\n") << QStringList({"8|0.00"}) << "0";
    QTest::newRow("same coupon twice") << QByteArray("4,1\n4,2\n") << QStringList({"4|1.00", "4|2.00"}) << "3";
    QTest::newRow("gross from the file's texts") << QByteArray("1,0.004\n2,0.004\n")
                                                 << QStringList({"1|0.00", "2|0.00"}) << "0.008";
    QTest::newRow("negative amount") << QByteArray("3,-2.5\n4,10\n") << QStringList({"3|-2.50", "4|10.00"}) << "7.5";
    QTest::newRow("empty file") << QByteArray() << QStringList() << "0";
  }
  void loadSellerSales() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, rows);
    QFETCH(QString, gross);
    testing::DataFolder h;
    h.write("vendeur_3.csv", content);
    const SellerSales sales = LoadSellerSales(tk::GetFolderItem("").Child("vendeur_3.csv"));
    QVERIFY(!sales.missing);
    QStringList got;
    for (const SaleEntry& r : sales.rows) got << r.coupon + '|' + r.amount;
    QCOMPARE(got, rows);
    QCOMPARE(tk::Str(sales.gross), gross);
  }

  void missingSalesFile_data() {
    QTest::addColumn<bool>("folder");
    QTest::newRow("no file") << false;
    QTest::newRow("a folder in its place") << true;
  }
  void missingSalesFile() {
    QFETCH(bool, folder);
    testing::DataFolder h;
    if (folder) QVERIFY(QDir(h.folder()).mkdir("vendeur_3.csv"));
    const SellerSales sales = LoadSellerSales(tk::GetFolderItem("").Child("vendeur_3.csv"));
    QVERIFY(sales.missing);
    QVERIFY(sales.rows.empty());
    QCOMPARE(sales.gross, 0.0);
  }
};

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
