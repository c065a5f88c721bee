// The desk's rules without its window: no widget is built here.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "core/module1.h"
#include "desk/desk.h"
#include "support/datafolder.h"
#include "toolkit/text.h"

using testing::DataFolder;
using testing::Lines;

namespace {

const QByteArray Map = "10,Aquaflore,3\n11,Aquaflore,3\n12,Aquaflore,3\n20,Ichtyo,4\n21,Ichtyo,4\n30,Zoo,07\n";

// The model opened as the desk opens it, on today's journal holding these rows.
void open(DataFolder& h, Desk& desk, const QByteArray& rows) {
  if (!rows.isNull()) h.write("OVKB2025_main.csv", testing::JournalFile("1/3/2025", rows));
  QCOMPARE(desk.ReadRate(tk::Date{5, 3, 2025}), QString());
  QCOMPARE(desk.LoadJournal().failure, QString());
}

// The rows as the desk lists them, each as its cells joined by "|".
QStringList rows(const Desk& desk) {
  QStringList out;
  for (const JournalEntry& e : desk.Rows()) out << QStringList{e.coupon, e.amount, e.name, e.code}.join('|');
  return out;
}

QString shown(double value) { return tk::ApplyFormat(tk::AmountFormat, tk::Str(value)); }

// The lines, each ended by "\n", with `blank` put in before line `at`
// (-1: after the last).
QByteArray withBlank(const QStringList& lines, const QByteArray& blank, int at) {
  QByteArray out;
  for (int i = 0; i < lines.size(); ++i) {
    if (i == at) out += blank;
    out += lines.at(i).toUtf8() + '\n';
  }
  if (at < 0) out += blank;
  return out;
}

}  // namespace

class TestDesk : public QObject {
  Q_OBJECT
 private slots:
  void opening() {
    DataFolder h;
    h.write("ValComm.txt", "0.2\n");
    h.write("OVKB2025_main.csv",
            testing::JournalFile("1/3/2025", "12, 7.5 ,Aquaflore,3,extra\n\n,,\n14,2.34, Ichtyo , 4\n"));
    Desk desk;
    QCOMPARE(desk.ReadRate(tk::Date{5, 3, 2025}), QString());
    QCOMPARE(Module1::ovktaux, 0.2);
    QCOMPARE(Module1::myday, QString("5/3/2025"));
    QCOMPARE(Module1::thename, QString("OVKB2025_main.csv"));
    QCOMPARE(desk.Turnover(), 0.0);
    QVERIFY(!desk.Commission());

    const Desk::JournalOpening j = desk.LoadJournal();
    QVERIFY(!j.created);
    QCOMPARE(j.failure, QString());
    // The blank line is no row; the line of bare commas is one.
    QCOMPARE(rows(desk), QStringList({"12|7.50|Aquaflore|3", "|||", "14|2.34|Ichtyo|4"}));
    QCOMPARE(tk::Str(desk.Turnover()), QString("9.84"));
    QCOMPARE(tk::Str(*desk.Commission()), QString("1.95"));  // 0.2 × 9.84 to the nearest 0.05
    QCOMPARE(tk::Str(Module1::grandtotal), QString("9.84"));
  }

  void firstStartOfTheYear() {
    DataFolder h;
    Desk desk;
    QCOMPARE(desk.ReadRate(tk::Date{2, 1, 2026}), QString());
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.1\n"));
    const Desk::JournalOpening j = desk.LoadJournal();
    QVERIFY(j.created);
    QCOMPARE(Lines(h, "OVKB2026_main.csv"), testing::JournalHeaderLines("2/1/2026"));
    QVERIFY(desk.Rows().empty());
    QCOMPARE(desk.Turnover(), 0.0);
    QVERIFY(!desk.Commission());  // the commission field keeps its empty text
  }

  // A file the run cannot do without: the message that ends it, and the
  // file left as it is.
  void openingFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rateFailure");
    QTest::addColumn<QString>("journalFailure");
    QTest::newRow("rate file is a folder") << "ValComm.txt" << "Impossible de lire le fichier ValComm.txt!" << "";
    QTest::newRow("journal is a folder") << "OVKB2025_main.csv" << ""
                                         << "Impossible de lire le fichier OVKB2025_main.csv!";
  }
  void openingFailures() {
    QFETCH(QString, name);
    QFETCH(QString, rateFailure);
    QFETCH(QString, journalFailure);
    DataFolder h;
    QVERIFY(QDir(h.folder()).mkdir(name));
    Desk desk;
    QCOMPARE(desk.ReadRate(tk::Date{5, 3, 2025}), rateFailure);
    if (rateFailure.isEmpty()) QCOMPARE(desk.LoadJournal().failure, journalFailure);
    QVERIFY(QFileInfo(h.path(name)).isDir());
    QVERIFY(desk.Rows().empty());
  }

  // What one "Ajouter" gives back, on a journal of coupons 12 (twice) and 20.
  void entry_data() {
    QTest::addColumn<QString>("coupon");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("booked");
    QTest::addColumn<int>("duplicate");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("salesFile");  // that now holds the coupon; empty when none does
    const QStringList none;
    QTest::newRow("empty number") << "" << "5" << false << -1 << none << "";
    QTest::newRow("duplicate: the last listed match")
        << "12" << "5" << false << 2 << QStringList{QString::fromUtf8("Coupon déjà saisi, position 3")} << "";
    QTest::newRow("no seller") << "99" << "5" << false << -1 << QStringList{"Ce coupon n'a pas de vendeur"} << "";
    QTest::newRow("large amount: warned, then booked")
        << "11" << "150.00" << true << -1 << QStringList{QString::fromUtf8("Info: Montant élevé")} << "vendeur_3.csv";
    QTest::newRow("code 07 books to seller 7") << "30" << "5.00" << true << -1 << none << "vendeur_7.csv";
  }
  void entry() {
    QFETCH(QString, coupon);
    QFETCH(QString, amount);
    QFETCH(bool, booked);
    QFETCH(int, duplicate);
    QFETCH(QStringList, messages);
    QFETCH(QString, salesFile);
    DataFolder h;
    h.write("couponsvendeurs.csv", Map);
    Desk desk;
    open(h, desk, "12,1,Aquaflore,3\n20,1,Ichtyo,4\n12,1,Aquaflore,3\n");
    const QStringList before = rows(desk);

    const Desk::Entry e = desk.Book(coupon, amount);

    QCOMPARE(e.booked, booked);
    QCOMPARE(e.duplicate, duplicate);
    QCOMPARE(e.messages, messages);
    const QStringList salesFiles = QDir(h.folder()).entryList({"vendeur_*"}, QDir::Files);
    if (!booked) {
      QCOMPARE(rows(desk), before);
      QCOMPARE(tk::Str(desk.Turnover()), QString("3"));
      QCOMPARE(salesFiles, QStringList());
      return;
    }
    QCOMPARE(rows(desk).size(), before.size() + 1);
    QCOMPARE(desk.Rows().back().Line(), Lines(h, "OVKB2025_main.csv").last());
    QCOMPARE(salesFiles, QStringList{salesFile});
    QCOMPARE(Lines(h, salesFile), QStringList{coupon + ',' + amount});
  }

  // The turnover lives in the model; Module1::grandtotal is the journal's
  // sum as last worked out (at the load and after a removal), which an
  // entry leaves alone.
  void turnover_data() {
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QStringList>("steps");  // "book <coupon> <amount>" or "remove <row>"
    QTest::addColumn<QString>("turnover");   // as shown
    QTest::addColumn<QString>("commission");
    QTest::addColumn<QString>("grandtotal");
    QTest::newRow("loaded: the 0.05 step") << QByteArray("12,10,A,3\n13,2.34,A,3\n") << QStringList() << "12.34"
                                           << "1.25" << "12.34";
    QTest::newRow("an entry: the 0.1 step, the journal's sum kept")
        << QByteArray("12,10,A,3\n") << QStringList{"book 11 2.34"} << "12.34" << "1.2" << "10";
    QTest::newRow("an entry adds to the turnover as shown, to the cent")
        << QByteArray("12,7.555,A,3\n") << QStringList{"book 11 1.00"} << "8.56" << "0.9" << "7.555";
    QTest::newRow("entries then a removal: the sum worked out again")
        << QByteArray("12,10,A,3\n13,2.34,A,3\n") << QStringList{"book 11 5.00", "book 10 1.00", "remove 0"}
        << "8.34" << "0.85" << "8.34";
    QTest::newRow("the only row removed") << QByteArray("12,10,A,3\n") << QStringList{"remove 0"} << "0.00" << "0"
                                          << "0";
  }
  void turnover() {
    QFETCH(QByteArray, journal);
    QFETCH(QStringList, steps);
    QFETCH(QString, turnover);
    QFETCH(QString, commission);
    QFETCH(QString, grandtotal);
    DataFolder h;
    h.write("couponsvendeurs.csv", Map);
    h.write("vendeur_3.csv", "12,10\n");
    Desk desk;
    open(h, desk, journal);
    for (const QString& step : steps) {
      const QStringList w = step.split(' ');
      if (w[0] == "book") QVERIFY(desk.Book(w[1], w[2]).booked);
      else QVERIFY(desk.Remove(w[1].toInt()).removed);
    }
    QCOMPARE(shown(desk.Turnover()), turnover);
    QCOMPARE(tk::Str(*desk.Commission()), commission);
    QCOMPARE(tk::Str(Module1::grandtotal), grandtotal);
  }

  // Blank lines in the journal and in a sales file (a line end an editor
  // added, a line emptied by hand) are no rows and add nothing; once a
  // coupon is booked and another removed, both files are rewritten without
  // them, every other line in its place and to the byte.
  void blankLines_data() {
    QTest::addColumn<QByteArray>("blank");  // with its line end, when it has one
    QTest::addColumn<int>("journalAt");     // the line of the file it stands before; -1: after the last
    QTest::addColumn<int>("salesAt");
    QTest::newRow("at the end") << QByteArray("\n") << -1 << -1;
    QTest::newRow("in the middle") << QByteArray("\n") << 3 << 1;
    QTest::newRow("white space only") << QByteArray(" \t \n") << 3 << 1;
    QTest::newRow("CR LF") << QByteArray("\r\n") << 3 << 1;
    QTest::newRow("several, first in the file") << QByteArray("\n  \n\r\n") << 0 << 0;
    QTest::newRow("between the header lines") << QByteArray("\t\n") << 1 << 0;
    QTest::newRow("right after the header, before the removed row") << QByteArray("\n") << 2 << 0;
    QTest::newRow("spaces without a line end, at the end") << QByteArray("  ") << -1 << -1;
  }
  void blankLines() {
    QFETCH(QByteArray, blank);
    QFETCH(int, journalAt);
    QFETCH(int, salesAt);
    DataFolder h;
    h.write("couponsvendeurs.csv", Map);
    const QStringList journal{"12,1.00,Aquaflore,3", "20,2.00,Ichtyo,4", "11,3.00,Aquaflore,3"};
    h.write("OVKB2025_main.csv", withBlank(testing::JournalHeaderLines("1/3/2025") + journal, blank, journalAt));
    h.write("vendeur_3.csv", withBlank({"12,1", "11,3"}, blank, salesAt));
    Desk desk;
    open(h, desk, QByteArray());

    QCOMPARE(rows(desk), QStringList({"12|1.00|Aquaflore|3", "20|2.00|Ichtyo|4", "11|3.00|Aquaflore|3"}));
    QCOMPARE(tk::Str(desk.Turnover()), QString("6"));
    QCOMPARE(tk::Str(*desk.Commission()), QString("0.6"));
    QCOMPARE(tk::Str(Module1::grandtotal), QString("6"));

    QVERIFY(desk.Book("10", "4.00").booked);
    QVERIFY(desk.Remove(0).removed);

    QCOMPARE(rows(desk), QStringList({"20|2.00|Ichtyo|4", "11|3.00|Aquaflore|3", "10|4.00|Aquaflore|3"}));
    QCOMPARE(h.read("OVKB2025_main.csv"),
             testing::JournalFile("5/3/2025", "20,2.00,Ichtyo,4\n11,3.00,Aquaflore,3\n10,4.00,Aquaflore,3\n"));
    QCOMPARE(h.read("vendeur_3.csv"), QByteArray("11,3\n10,4.00\n"));
    QCOMPARE(tk::Str(desk.Turnover()), QString("9"));
    QCOMPARE(tk::Str(*desk.Commission()), QString("0.9"));
  }

  // A line of bare commas is a record with empty fields, not a blank line:
  // listed, and written back where it stood.
  void lineOfCommasStays() {
    DataFolder h;
    h.write("vendeur_3.csv", "12,1\n,\n13,2\n");
    Desk desk;
    open(h, desk, "12,1.00,A,3\n,,\n13,2.00,A,3\n");
    QCOMPARE(rows(desk), QStringList({"12|1.00|A|3", "|||", "13|2.00|A|3"}));
    QVERIFY(desk.Remove(0).removed);
    QCOMPARE(h.read("OVKB2025_main.csv"), testing::JournalFile("5/3/2025", ",,,\n13,2.00,A,3\n"));
    QCOMPARE(h.read("vendeur_3.csv"), QByteArray(",\n13,2\n"));
  }

  void removalWithoutARow_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("none chosen") << -1;
    QTest::newRow("past the last row") << 2;
  }
  void removalWithoutARow() {
    QFETCH(int, row);
    DataFolder h;
    Desk desk;
    open(h, desk, "12,1,A,3\n13,2,A,3\n");
    const Desk::Removal r = desk.Remove(row);
    QVERIFY(!r.removed);
    QCOMPARE(r.messages, QStringList{QString::fromUtf8("Aucun coupon n'a été sélectionné!")});
    QCOMPARE(desk.Rows().size(), std::size_t(2));
    QVERIFY(Module1::vc2.isEmpty());
    QCOMPARE(h.read("OVKB2025_main.csv"), testing::JournalFile("1/3/2025", "12,1,A,3\n13,2,A,3\n"));
  }

  // Each removal reads its own seller's sales file afresh: nothing of the
  // first seller's file reaches the second's.
  void twoRemovalsForTwoSellers() {
    DataFolder h;
    h.write("vendeur_3.csv", "12,1\n13,3\n");
    h.write("vendeur_4.csv", "20,2\n21,4\n");
    Desk desk;
    open(h, desk, "12,1,A,3\n20,2,B,4\n13,3,A,3\n21,4,B,4\n");
    QVERIFY(desk.Remove(0).removed);
    QCOMPARE(Module1::vc2, QString("3"));
    QVERIFY(desk.Remove(2).removed);
    QCOMPARE(Module1::vc2, QString("4"));
    QCOMPARE(h.read("vendeur_3.csv"), QByteArray("13,3\n"));
    QCOMPARE(h.read("vendeur_4.csv"), QByteArray("20,2\n"));
    QCOMPARE(Lines(h, "OVKB2025_main.csv"),
             testing::JournalHeaderLines("5/3/2025") + QStringList({"20,2.00,B,4", "13,3.00,A,3"}));
  }

  // The journal cannot be replaced: the row stays, the files and the
  // totals as they were.
  void failedRemovalChangesNothing() {
    DataFolder h;
    h.write("vendeur_3.csv", "12,1\n");
    Desk desk;
    open(h, desk, "12,1,A,3\n13,2,A,3\n");
    QVERIFY(QFile::remove(h.path("OVKB2025_main.csv")));
    QVERIFY(QDir(h.folder()).mkdir("OVKB2025_main.csv"));
    const Desk::Removal r = desk.Remove(0);
    QVERIFY(!r.removed);
    QCOMPARE(r.messages, QStringList{QString::fromUtf8("impossible d'écrire le fichier modifié!")});
    QCOMPARE(rows(desk), QStringList({"12|1.00|A|3", "13|2.00|A|3"}));
    QCOMPARE(tk::Str(desk.Turnover()), QString("3"));
    QCOMPARE(tk::Str(Module1::grandtotal), QString("3"));
    QCOMPARE(h.read("vendeur_3.csv"), QByteArray("12,1\n"));
  }
};

QTEST_GUILESS_MAIN(TestDesk)
#include "tst_desk.moc"
