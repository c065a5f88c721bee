#include <QDir>
#include <QTest>
#include <optional>

#include "register/sellerfiles.h"
#include "support/datafolder.h"
#include "support/faults.h"

namespace {
SellerRecord seller(const QStringList& f) {
  SellerRecord s;
  for (int i = 0; i < SellerRecord::FieldCount && i < f.size(); ++i) s.fields[static_cast<std::size_t>(i)] = f.at(i);
  return s;
}
QStringList entries(const SellerRecord& s) {
  QStringList out;
  ForEachCouponEntry(s, [&](const QString& l) {
    out << l;
    return true;
  });
  return out;
}
}  // namespace

class TestSellerFiles : public QObject {
  Q_OBJECT
 private slots:
  void workedExample() {
    const SellerRecord s = seller({"Aquaflore", "3", "Rue 1", "", "1000", "Ville", "1", "3", "2", "0"});
    QCOMPARE(SellerLine(s), QString("Aquaflore,3,Rue 1,,1000,Ville,1,3,2,0"));
    QCOMPARE(entries(s), QStringList({"1,Aquaflore,3", "2,Aquaflore,3", "3,Aquaflore,3"}));
  }

  void ranges_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("reversed") << "10" << "9" << QStringList();
    QTest::newRow("one coupon") << "40" << "40" << QStringList({"40"});
    QTest::newRow("both empty") << "" << "" << QStringList({"0"});
    QTest::newRow("last empty") << "1" << "" << QStringList();
    QTest::newRow("fractions cut") << "4.8" << "6.2" << QStringList({"4", "5", "6"});
  }
  void ranges() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QStringList, numbers);
    const QStringList lines = entries(seller({"N", "1", "", "", "", "", first, last, "0", "0"}));
    QStringList got;
    for (const QString& l : lines) got << l.section(',', 0, 0);
    QCOMPARE(got, numbers);
  }

  void couponEntryCount_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<quint64>("count");
    QTest::newRow("1 to 25") << "1" << "25" << quint64(25);
    QTest::newRow("reversed") << "10" << "9" << quint64(0);
    QTest::newRow("both empty") << "" << "" << quint64(1);
    QTest::newRow("huge") << "1" << "1e15" << quint64(1000000000000000);
    QTest::newRow("widest span") << "-9223372036854775808" << "9223372036854774784"
                                 << quint64(18446744073709550593ULL);
  }
  void couponEntryCount() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(quint64, count);
    QCOMPARE(quint64(CouponEntryCount(seller({"N", "1", "", "", "", "", first, last, "0", "0"}))), count);
  }

  void replaceWritesBothFiles() {
    testing::DataFolder h;
    h.write(CouponMapFile, "9,Old,9\n");
    QCOMPARE(ReplaceSellerFiles({seller({"A", "1", "", "", "", "", "1", "2", "0", "0"}),
                                 seller({"B", "2", "", "", "", "", "5", "4", "0", "0"})}),
             storage::Replaced::All);
    QCOMPARE(h.read(SellerListFile), QByteArray("A,1,,,,,1,2,0,0\nB,2,,,,,5,4,0,0\n"));
    QCOMPARE(h.read(CouponMapFile), QByteArray("1,A,1\n2,A,1\n"));
  }

  // When the coupon map cannot be replaced the seller list is as it was:
  // untouched when the map is seen to be a folder before anything is
  // written, put back byte for byte (or removed again when there was none)
  // when the map fails once the list is in place.
  void replaceTakesTheListBack_data() {
    QTest::addColumn<bool>("listExisted");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<bool>("listInPlace");  // the map fails after the list was replaced
    for (bool inPlace : {false, true}) {
      const char* when = inPlace ? "map fails after the list" : "map is a folder";
      QTest::addRow("%s: odd bytes", when) << true << QByteArray(" A ,1,,,,,1,2,0,0\r\nB,2") << inPlace;
      QTest::addRow("%s: empty", when) << true << QByteArray() << inPlace;
      QTest::addRow("%s: missing", when) << false << QByteArray() << inPlace;
    }
  }
  void replaceTakesTheListBack() {
    QFETCH(bool, listExisted);
    QFETCH(QByteArray, list);
    QFETCH(bool, listInPlace);
    testing::DataFolder h;
    if (listExisted) h.write(SellerListFile, list);
    std::optional<testing::ChangeSteps> mapFails;
    if (listInPlace) {
      mapFails.emplace(storage::ChangeStep::ChangeFile, 1, storage::StepAnswer::Fail);
    } else {
      QVERIFY(QDir(h.folder()).mkdir(CouponMapFile));
    }
    QCOMPARE(ReplaceSellerFiles({seller({"A", "1", "", "", "", "", "1", "2", "0", "0"})}), storage::Replaced::Nothing);
    QCOMPARE(h.exists(SellerListFile), listExisted);
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden),
             listExisted ? QStringList{SellerListFile} : QStringList());
  }

  void sellerNumber_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("number");
    QTest::newRow("plain") << "7" << qint64(7);
    QTest::newRow("leading zero") << "07" << qint64(7);
    QTest::newRow("fraction") << "12.7" << qint64(12);
    QTest::newRow("negative fraction") << "-2.5" << qint64(-2);
    QTest::newRow("word") << "Nord" << qint64(0);
    QTest::newRow("leading blank") << " 3" << qint64(3);
    QTest::newRow("too large for 64 bits") << "1e30" << qint64(0);
    QTest::newRow("2^63") << "9223372036854775808" << qint64(0);
    QTest::newRow("large but fits") << "9000000000000000000" << qint64(9000000000000000000);
  }
  void sellerNumber() {
    QFETCH(QString, code);
    QFETCH(qint64, number);
    QCOMPARE(qint64(SellerNumber(code)), number);
  }

  void couponOwner_data() {
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("coupon");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    const QByteArray map = "1,Aquaflore,3\n12,Aquaflore,3\n120,Plantes,4\n12,Ichtyo, 07 \n";
    QTest::newRow("last match wins, untrimmed") << map << "12" << true << "Ichtyo" << " 07 ";
    QTest::newRow("single match") << map << "120" << true << "Plantes" << "4";
    QTest::newRow("prefix is no match") << map << "2" << false << "" << "";
    QTest::newRow("trailing blank") << map << "12 " << false << "" << "";
    QTest::newRow("leading zero") << map << "012" << false << "" << "";
    QTest::newRow("comma in the coupon") << QByteArray("12,5,X,1\n") << "12,5" << false << "" << "";
    QTest::newRow("crlf lines") << QByteArray("5,A,1\r\n6,B,2\r\n") << "6" << true << "B" << "2";
    QTest::newRow("short line") << QByteArray("7,Solo\n") << "7" << true << "Solo" << "";
    QTest::newRow("number alone") << QByteArray("8\n") << "8" << true << "" << "";
    QTest::newRow("no final newline") << QByteArray("9,C,5") << "9" << true << "C" << "5";
    QTest::newRow("accents") << QString::fromUtf8("3,Aquarium Léon,2\n").toUtf8() << "3" << true
                             << QString::fromUtf8("Aquarium Léon") << "2";
    QTest::newRow("empty map") << QByteArray() << "1" << false << "" << "";
    QTest::newRow("first line of the map") << QByteArray("12,A,1\n13,B,2\n") << "12" << true << "A" << "1";
    QTest::newRow("number in a later field") << QByteArray("5,A,12\n6,B,12,\n") << "12" << false << "" << "";
    QTest::newRow("number ends a longer one") << QByteArray("512,A,1\n") << "12" << false << "" << "";
    QTest::newRow("stray carriage return") << QByteArray("12\rX,A,1\n") << "12" << false << "" << "";
    QTest::newRow("carriage return at the end") << QByteArray("1,A,1\n12\r") << "12" << true << "" << "";
    QTest::newRow("empty lines around") << QByteArray("\n\n12,A,1\n\n") << "12" << true << "A" << "1";
  }
  void couponOwner() {
    QFETCH(QByteArray, map);
    QFETCH(QString, coupon);
    QFETCH(bool, found);
    QFETCH(QString, name);
    QFETCH(QString, code);
    const CouponOwner o = FindCouponOwner(map, coupon);
    QCOMPARE(o.found, found);
    QCOMPARE(o.name, name);
    QCOMPARE(o.code, code);
  }
};

QTEST_GUILESS_MAIN(TestSellerFiles)
#include "tst_sellerfiles.moc"
