#include <QTest>

#include "rtf/rtfdocument.h"
#include "rtf/statementwriter.h"
#include "statements.h"
#include "support/datafolder.h"
#include "toolkit/files.h"

Q_DECLARE_METATYPE(SellerStatement)
Q_DECLARE_METATYPE(RtfDocument)

namespace {

// What `write` puts into a fresh file.
QByteArray written(const std::function<bool(tk::TextOutputStream&)>& write) {
  const tk::FolderItem file = tk::GetFolderItem("").Child("out.rtf");
  auto out = file.CreateTextFile();
  if (!out || !write(*out) || !out->Close()) qFatal("cannot write the test file");
  auto in = file.OpenAsTextFile();
  return in->Bytes();
}

QByteArray single(const SellerStatement& s) {
  return written([&](tk::TextOutputStream& out) {
    return WriteRtfHeader(out, RtfDocument::Statement) && StatementWriter(out, s) && WriteRtfEnd(out);
  });
}

QList<QByteArray> lines(const QByteArray& bytes) {
  QList<QByteArray> l = bytes.split('\n');
  if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
  return l;
}

}  // namespace

class TestStatementWriter : public QObject {
  Q_OBJECT
 private slots:
  void goldenStatements_data() {
    QTest::addColumn<SellerStatement>("statement");
    QTest::addColumn<QString>("golden");
    QTest::addColumn<int>("lineCount");
    QTest::newRow("no coupon") << testing::noCouponStatement() << "statement_no_coupon.rtf" << 77;
    QTest::newRow("four coupons") << testing::fourCouponStatement() << "statement_four_coupons.rtf" << 107;
    QTest::newRow("hostile texts") << testing::hostileStatement() << "statement_hostile.rtf" << 92;
  }
  void goldenStatements() {
    QFETCH(SellerStatement, statement);
    QFETCH(QString, golden);
    QFETCH(int, lineCount);
    testing::DataFolder h;
    const QByteArray bytes = single(statement);
    QCOMPARE(bytes, testing::golden(golden));
    QCOMPARE(lines(bytes).size(), lineCount);
    for (char c : bytes) QVERIFY2(c > 0 && c < 127 && (c >= 32 || c == '\n'), "the file is plain ASCII");
  }

  // n coupons give n / 3 rows rounded up, 15 lines each; the last row's
  // missing pairs are empty cells.
  void couponRows_data() {
    QTest::addColumn<int>("coupons");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QByteArray>("lastRow");
    const QByteArray heading =
        "{\\cell Coupon\\cell Valeur\\cell\\cell Coupon\\cell Valeur\\cell\\cell Coupon"
        "\\cell Valeur\\cell \\cell}";
    QTest::newRow("none") << 0 << 77 << heading;
    QTest::newRow("one") << 1 << 92
                         << QByteArray("{\\cell 1\\cell 1.50\\cell \\cell \\cell \\cell \\cell \\cell \\cell \\cell}");
    QTest::newRow("two") << 2 << 92
                         << QByteArray(
                                "{\\cell 1\\cell 1.50\\cell \\cell 2\\cell 1.50\\cell \\cell \\cell \\cell \\cell}");
    QTest::newRow("three")
        << 3 << 92
        << QByteArray("{\\cell 1\\cell 1.50\\cell \\cell 2\\cell 1.50\\cell \\cell 3\\cell 1.50\\cell \\cell}");
    QTest::newRow("forty") << 40 << 77 + 15 * 14
                           << QByteArray(
                                  "{\\cell 40\\cell 1.50\\cell \\cell \\cell \\cell \\cell \\cell \\cell \\cell}");
  }
  void couponRows() {
    QFETCH(int, coupons);
    QFETCH(int, lineCount);
    QFETCH(QByteArray, lastRow);
    testing::DataFolder h;
    SellerStatement s = testing::fourCouponStatement();
    s.coupons = testing::coupons(coupons);
    const QList<QByteArray> l = lines(single(s));
    QCOMPARE(l.size(), lineCount);
    QCOMPARE(l.at(l.size() - 4), lastRow);
    QCOMPARE(l.at(l.size() - 3), QByteArray("\\row"));
    QCOMPARE(l.last(), QByteArray("}"));
  }

  // A results page is the statement's block without the blank line after
  // the date-and-receipt paragraph, so its coupon-order paragraph follows
  // that paragraph's "\par}" at once.
  void resultsPageLeavesOutOneBlankLine() {
    testing::DataFolder h;
    const SellerStatement s = testing::fourCouponStatement();
    const QList<QByteArray> full =
        lines(written([&](tk::TextOutputStream& out) { return StatementWriter(out, s, StatementBlock::Single); }));
    const QList<QByteArray> page =
        lines(written([&](tk::TextOutputStream& out) { return StatementWriter(out, s, StatementBlock::ResultsPage); }));
    QList<QByteArray> expected = full;
    QCOMPARE(expected.takeAt(42), QByteArray());  // line 49 of a statement file
    QCOMPARE(page, expected);
    QCOMPARE(page.at(41), QByteArray("\\par}"));
    QCOMPARE(page.at(42), QByteArray("{\\pard"));
    QCOMPARE(page.size(), 69 + 15 * 2);
  }

  void headers_data() {
    QTest::addColumn<RtfDocument>("document");
    QTest::addColumn<QByteArray>("header");
    const QByteArray start = "{\\rtf1\\ansi\\ansicpg1252\\cocoartf1038\\cocoasubrtf250\n";
    const QByteArray colours = "{\\colortbl;\\red255\\green255\\blue255;}\n";
    const QByteArray margins = "\\margl720\\margr720\\margt720\\margb720\\vieww17700\\viewh14120\\viewkind1\n";
    const QByteArray tabs =
        "\\pard\\tx566\\tx1133\\tx1700\\tx2267\\tx2834\\tx3401\\tx3968\\tx4535\\tx5102\\tx5669"
        "\\tx6236\\tx6803\\qc\\pardirnatural\n";
    QTest::newRow("statement") << RtfDocument::Statement
                               << start + "{\\fonttbl\\f0\\fttruetype Times New Roman;}\n" + colours +
                                      "\\paperw11900\\paperh16840" + margins + tabs + "\n";
    QTest::newRow("general results") << RtfDocument::GeneralResults
                                     << start + "{\\fonttbl\\f0\\fftruetype Times New Roman;}\n" + colours +
                                            "\\paperw11900\\paperh16840" + margins + tabs + "\n";
    QTest::newRow("seller cards") << RtfDocument::SellerCards
                                  << start + "{\\fonttbl\\f0\\fttruetype Arial;}\n" + colours +
                                         "\\paperw16840\\paperh11900" + margins + tabs;
  }
  void headers() {
    QFETCH(RtfDocument, document);
    QFETCH(QByteArray, header);
    testing::DataFolder h;
    QCOMPARE(written([&](tk::TextOutputStream& out) { return WriteRtfHeader(out, document); }), header);
  }

  // A file of several statements, as the general results write it: each
  // page's table is closed before its page break, the last one too.
  void pagesOfSeveralStatements() {
    testing::DataFolder h;
    const QByteArray bytes = written([](tk::TextOutputStream& out) {
      if (!WriteRtfHeader(out, RtfDocument::GeneralResults)) return false;
      for (const SellerStatement& s : {testing::noCouponStatement(), testing::fourCouponStatement()})
        if (!StatementWriter(out, s, StatementBlock::ResultsPage) || !WriteResultsPageEnd(out)) return false;
      return WriteRtfEnd(out);
    });
    const QList<QByteArray> l = lines(bytes);
    QCOMPARE(l.size(), 6 + 70 + 100 + 1);
    QCOMPARE(l.at(6 + 69), QByteArray("\\pard\\par\\page"));
    QCOMPARE(l.at(6 + 70), QByteArray("{\\par"));
    QCOMPARE(l.at(l.size() - 2), QByteArray("\\pard\\par\\page"));
    QCOMPARE(l.last(), QByteArray("}"));
  }
};

QTEST_MAIN(TestStatementWriter)
#include "tst_statementwriter.moc"
