#include <QDir>
#include <QTest>

#include "rtf/sellerstatement.h"
#include "statements.h"
#include "support/datafolder.h"
#include "support/faults.h"

namespace {
QStringList entries(const testing::DataFolder& h) {
  return QDir(h.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}
}  // namespace

class TestSellerStatement : public QObject {
  Q_OBJECT
 private slots:
  void fileName_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");  // empty: no file can have it
    QTest::newRow("plain") << "12"
                           << "vendeur_12.rtf";
    QTest::newRow("as stored, leading zero") << "012"
                                             << "vendeur_012.rtf";
    QTest::newRow("blank inside") << "1 2"
                                  << "vendeur_1 2.rtf";
    QTest::newRow("shell characters") << "1;touch pwned;$(touch pwned2)"
                                      << "vendeur_1;touch pwned;$(touch pwned2).rtf";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("a folder") << "../7"
                              << "";
    QTest::newRow("slash") << "1/2"
                           << "";
    QTest::newRow("nul") << QString("1") + QChar(0) + "2"
                         << "";
  }
  void fileName() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(SellerStatementFileName(code).value_or(QString()), name);
  }

  // The file holds header, block and closing brace; printing the same
  // statement again writes the same bytes, and the texts stay as typed.
  void writesTheStatementFile() {
    testing::DataFolder h;
    const SellerStatement s = testing::fourCouponStatement();
    for (int click = 1; click <= 2; ++click) {
      const std::optional<tk::FolderItem> file = WriteSellerStatement(s);
      QVERIFY(file);
      QCOMPARE(file->Name(), QString("vendeur_7.rtf"));
      QCOMPARE(h.read("vendeur_7.rtf"), testing::golden("statement_four_coupons.rtf"));
    }
    QCOMPARE(s.address, QString::fromUtf8("3, chemin des Crêtes"));
    QCOMPARE(entries(h), QStringList{"vendeur_7.rtf"});
  }

  // A seller, its sales as booked, its account and the date give what the
  // statement prints: the coupons in number order, the amounts as the
  // amount mask shows them, typed fees as typed.
  void statementOf_data() {
    QTest::addColumn<QString>("typedFees");  // "-": none typed
    QTest::addColumn<QString>("fees");
    QTest::addColumn<QString>("net");
    QTest::newRow("worked out") << "-" << "15.00" << "96.10";
    QTest::newRow("typed") << "4.50" << "4.50" << "106.60";
    QTest::newRow("typed away") << "" << "" << "111.10";
  }
  void statementOf() {
    QFETCH(QString, typedFees);
    QFETCH(QString, fees);
    QFETCH(QString, net);
    SellerRecord seller;
    seller.fields = {QString::fromUtf8("Hélène Dupré"), "7", QString::fromUtf8("3, chemin des Crêtes"), "h@x.ch",
                     "4000", "Spa", "101", "150", "2", "1"};
    const std::vector<SaleEntry> sales{{"130", "84.00"}, {"102", "25.50"}, {"101", "10.00"}, {"105", "3.95"}};
    SellerAccount account = SellerTotals(123.45, "2", "1", 0.1);
    if (typedFees != "-") account = WithTypedFees(account, typedFees);
    const SellerStatement s = StatementOf(seller, sales, account, "5/3/2025");
    SellerStatement expected = testing::fourCouponStatement();
    expected.fees = fees;
    expected.net = net;
    QCOMPARE(s.name, expected.name);
    QCOMPARE(s.address, expected.address);
    QCOMPARE(s.postalCode, expected.postalCode);
    QCOMPARE(s.town, expected.town);
    QCOMPARE(s.sellerCode, expected.sellerCode);
    QCOMPARE(QStringList({s.gross, s.commission, s.fees, s.net, s.date}),
             QStringList({expected.gross, expected.commission, expected.fees, expected.net, expected.date}));
    QStringList printed, wanted;
    for (const StatementCoupon& c : s.coupons) printed << c.number + '|' + c.value;
    for (const StatementCoupon& c : expected.coupons) wanted << c.number + '|' + c.value;
    QCOMPARE(printed, wanted);
  }

  // A code that cannot name a file writes nothing anywhere.
  void codeThatNamesNoFile_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << "";
    QTest::newRow("slash") << "sub/7";
    QTest::newRow("nul") << QString("7") + QChar(0) + "x";
  }
  void codeThatNamesNoFile() {
    QFETCH(QString, code);
    testing::DataFolder h;
    QDir(h.folder()).mkdir("sub");
    SellerStatement s = testing::noCouponStatement();
    s.sellerCode = code;
    QVERIFY(!WriteSellerStatement(s));
    QCOMPARE(entries(h), QStringList{"sub"});
    QVERIFY(QDir(h.path("sub")).isEmpty());
  }

  // A statement that cannot be created or written completely leaves the
  // older one as it was, and no temporary file behind.
  void failedWriteKeepsTheOlderStatement_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("cannot be created") << "uncreatable";
    QTest::newRow("disk full halfway") << "full";
  }
  void failedWriteKeepsTheOlderStatement() {
    QFETCH(QString, fault);
    testing::DataFolder h;
    const QString name = "vendeur_12.rtf";
    std::optional<testing::FileSizeLimit> limit;
    if (fault == "folder") {
      QVERIFY(QDir(h.folder()).mkdir(name));
    } else if (fault == "uncreatable") {
      testing::MakeUncreatable(h, name);
    } else {
      h.write(name, "older statement\n");
      limit.emplace(1000);  // the statement is longer
    }
    const QStringList before = entries(h);
    const QByteArray older = h.read(name);
    QVERIFY(!WriteSellerStatement(testing::noCouponStatement()));
    limit.reset();
    QCOMPARE(entries(h), before);
    QCOMPARE(h.read(name), older);
  }
};

QTEST_MAIN(TestSellerStatement)
#include "tst_sellerstatement.moc"
