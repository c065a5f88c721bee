#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "core/sellerformat.h"
#include "reports/sellercards.h"
#include "support/datafolder.h"
#include "support/faults.h"

namespace {

QByteArray golden(const QString& name) {
  QFile f(QStringLiteral(CORVALENTA_TESTS "/reports/golden/") + name);
  if (!f.open(QIODevice::ReadOnly)) qFatal("no golden file %s", qPrintable(name));
  return f.readAll();
}

// Two sellers as the register writes them, blanks around some fields: one
// with accents, a ç, a capital and braces; one without e-mail whose range
// was stored backwards.
const QByteArray TwoSellers =
    " Élodie {Façon} Müller ,1, Rue du Château {3} ,elodie.façon@exemple.fr,1003,Lausanne-Ouchy,1,100,2,1\n"
    "Bob Martin, 2 ,Chemin 4,,2000,Neuchâtel,150,101,0,0\n";

const QStringList Header{
    "{\\rtf1\\ansi\\ansicpg1252\\cocoartf1038\\cocoasubrtf250",
    "{\\fonttbl\\f0\\fttruetype Arial;}",
    "{\\colortbl;\\red255\\green255\\blue255;}",
    "\\paperw16840\\paperh11900\\margl720\\margr720\\margt720\\margb720\\vieww17700\\viewh14120\\viewkind1",
    "\\pard\\tx566\\tx1133\\tx1700\\tx2267\\tx2834\\tx3401\\tx3968\\tx4535\\tx5102\\tx5669\\tx6236\\tx6803\\qc"
    "\\pardirnatural",
};

// The seller's texts on each card of a cards file (card lines 4, 9, 11,
// 13, 20 and 31), joined by "|".
QStringList sellerTexts(const QByteArray& file) {
  const QList<QByteArray> lines = file.split('\n');
  const int header = 5;
  const int perCard = 33;
  QStringList cards;
  for (qsizetype first = header; first + perCard < lines.size(); first += perCard) {
    QStringList texts;
    for (int n : {4, 9, 11, 13, 20, 31}) texts << QString::fromUtf8(lines.at(first + n - 1));
    cards << texts.join('|');
  }
  return cards;
}

}  // namespace

class TestSellerCards : public QObject {
  Q_OBJECT
 private slots:
  // What a card shows of its seller (name, e-mail, address, postal line,
  // code, range): the fields trimmed, a short line padded with empty ones,
  // the rentals on no card.
  void sellerOnTheCard_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("cards");
    QTest::newRow("empty list") << QByteArray() << QStringList();
    QTest::newRow("ten fields, trimmed") << QByteArray(" A , 007 ,Rue,a@b.ch,1000, Ville ,150,101,T8,R9\n")
                                         << QStringList{"A|a@b.ch|Rue|1000  Ville|007|150 - 101"};
    QTest::newRow("short line and empty line")
        << QByteArray("Court,2\n\n") << QStringList({"Court|||  |2| - ", "|||  || - "});
    QTest::newRow("a comma typed in the name shifts the fields")
        << QByteArray("Dupont, Jean,3,Rue,,1000,Ville,1,5,T8,R9\n") << QStringList{"Dupont|Rue|3|  1000|Jean|Ville - 1"};
  }
  void sellerOnTheCard() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, cards);
    testing::DataFolder h;
    h.write(SellerListFile, list);
    const auto sellers = ReadSellerList();
    QVERIFY(sellers);
    QVERIFY(WriteSellerCards(*sellers));
    const QByteArray file = h.read("FichesVendeurs.rtf");
    QCOMPARE(sellerTexts(file), cards);
    QVERIFY(!file.contains("T8") && !file.contains("R9"));
  }

  void missingList() {
    testing::DataFolder h;
    QVERIFY(!ReadSellerList());
    QDir(h.folder()).mkdir(SellerListFile);
    QVERIFY(!ReadSellerList());
  }

  // The cards of two sellers, byte for byte: 5 + 33 × 2 + 1 lines.
  void twoSellers() {
    testing::DataFolder h;
    h.write(SellerListFile, TwoSellers);
    const auto file = WriteSellerCards(*ReadSellerList());
    QVERIFY(file);
    QCOMPARE(file->Name(), QString("FichesVendeurs.rtf"));
    const QByteArray cards = h.read("FichesVendeurs.rtf");
    QCOMPARE(cards.count('\n'), 72);
    QCOMPARE(cards, golden("cards_two_sellers.rtf"));
    // Writing again gives the same bytes.
    QVERIFY(WriteSellerCards(*ReadSellerList()));
    QCOMPARE(h.read("FichesVendeurs.rtf"), cards);
  }

  // The seller code and both ends of the coupon range are the seller's
  // texts too: escaped like the name, so no card can open or close a group
  // of the file, and the file stays 7-bit.
  void codeAndRangeEscaped_data() {
    QTest::addColumn<QStringList>("typed");    // code, first, last
    QTest::addColumn<QStringList>("written");  // the code line, the range line
    QTest::newRow("braces") << QStringList({"{7}", "{1", "9}"}) << QStringList({"\\{7\\}", "\\{1 - 9\\}"});
    QTest::newRow("backslashes") << QStringList({"\\par", "1\\", "\\9"})
                                 << QStringList({"\\\\par", "1\\\\ - \\\\9"});
    QTest::newRow("accents") << QStringList({"É7", "1à", "ü9"}) << QStringList({"\\'c97", "1\\'e0 - \\'fc9"});
  }
  void codeAndRangeEscaped() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, written);
    testing::DataFolder h;
    QVERIFY(WriteSellerCards({{"Nom", typed[0], "Rue", "", "1000", "Ville", typed[1], typed[2], "0"}}));
    const QByteArray cards = h.read("FichesVendeurs.rtf");
    const QStringList lines = QString::fromLatin1(cards).split('\n');
    QCOMPARE(lines.size(), Header.size() + 33 + 2);  // the brace, then the end of the last line
    QCOMPARE(lines.mid(Header.size() + 18, 3), QStringList({"Vendeur n\\'b0 ", written[0], "\\line"}));
    QCOMPARE(lines.mid(Header.size() + 29, 3), QStringList({"\\b\\f0\\fs160", written[1], "\\par}"}));
    for (const char c : cards) QVERIFY2(static_cast<unsigned char>(c) < 0x80, cards.constData());
  }

  // No seller: the header and the closing brace only.
  void noSeller() {
    testing::DataFolder h;
    QVERIFY(WriteSellerCards({}));
    QCOMPARE(h.read("FichesVendeurs.rtf"), (Header.join('\n') + "\n}\n").toUtf8());
  }

  // A cards file that cannot be written leaves the older one as it was and
  // nothing else in the folder.
  void cannotBeWritten_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("the disk fills up") << "full";
  }
  void cannotBeWritten() {
    QFETCH(QString, fault);
    testing::DataFolder h;
    h.write(SellerListFile, TwoSellers);
    if (fault == "folder") {
      QVERIFY(QDir(h.folder()).mkdir("FichesVendeurs.rtf"));
      QVERIFY(!WriteSellerCards(*ReadSellerList()));
      QVERIFY(QFileInfo(h.path("FichesVendeurs.rtf")).isDir());
    } else {
      h.write("FichesVendeurs.rtf", "older cards\n");
      testing::FileSizeLimit limit(500);
      QVERIFY(!WriteSellerCards(*ReadSellerList()));
    }
    if (fault == "full") QCOMPARE(h.read("FichesVendeurs.rtf"), QByteArray("older cards\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden),
             fault == "full" ? QStringList({"FichesVendeurs.rtf", SellerListFile}) : QStringList({SellerListFile}));
  }
};

QTEST_GUILESS_MAIN(TestSellerCards)
#include "tst_sellercards.moc"
