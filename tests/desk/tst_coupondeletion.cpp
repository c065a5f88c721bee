#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "core/module1.h"
#include "support/bookings.h"
#include "support/desk.h"
#include "support/faults.h"
#include "support/harness.h"
#include "toolkit/text.h"

using testing::Book;
using testing::Harness;
using testing::Lines;
using testing::Remove;
using testing::Rows;

namespace {

// A journal written by an earlier run.
QByteArray journal(const QByteArray& rows) { return testing::JournalFile("1/3/2025", rows); }
// The header after a deletion today.
const QStringList Header = testing::JournalHeaderLines("5/3/2025");

// A long sales file holding coupon 12: its rewrite goes past a file size
// limit that the journal stays under.
QByteArray longSales() {
  QByteArray sales = "12,1\n";
  for (int i = 100; i < 160; ++i) sales += QByteArray::number(i) + ",1\n";
  return sales;
}

const QString NoSelection = QStringLiteral("Aucun coupon n'a été sélectionné!");
const QString NoSalesFile = QStringLiteral("Il n'y a pas de fichier pour ce vendeur!?!?!");
const QString CannotRewrite = QStringLiteral("impossible d'écrire le fichier modifié!");

}  // namespace

class TestCouponDeletion : public QObject {
  Q_OBJECT
 private slots:
  void noSelectionChangesNothing() {
    Harness h;
    h.write("OVKB2025_main.csv", journal("12,1,A,3\n"));
    h.write("vendeur_3.csv", "12,1\n");
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    desk->BevelButton3()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{NoSelection});
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList{"12|1.00|A|3"});
    QCOMPARE(h.read("OVKB2025_main.csv"), journal("12,1,A,3\n"));
    QCOMPARE(h.read("vendeur_3.csv"), QByteArray("12,1\n"));
    QVERIFY(Module1::vc2.isEmpty());
  }

  // Rows loaded from the journal; the seller is 3.
  void deletion_data() {
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QByteArray>("sales");  // vendeur_3.csv; null: no such file
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("journalAfter");  // the lines after the header
    QTest::addColumn<QByteArray>("salesAfter");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("commission");
    const QStringList none;
    QTest::newRow("the only coupon") << QByteArray("12,7.5,Aquaflore,3\n") << QByteArray("12,7.5\n") << 0 << none
                                     << QStringList() << QByteArray("") << "0.00" << "0.00";
    QTest::newRow("a coupon twice in the sales file: the later line goes")
        << QByteArray("12,1,A,3\n13,2,A,3\n") << QByteArray("12,1\n13,2\n12,1\n") << 0 << none
        << QStringList{"13,2.00,A,3"} << QByteArray("12,1\n13,2\n") << "2.00" << "0.20";
    QTest::newRow("every sales line comes back trimmed")
        << QByteArray("12,1,A,3\n13,2,A,3\n") << QByteArray(" 13 , 2 \n12,1\n 14,3,x\n") << 0 << none
        << QStringList{"13,2.00,A,3"} << QByteArray("13,2\n14,3\n") << "2.00" << "0.20";
    QTest::newRow("loaded amounts go back formatted, names trimmed")
        << QByteArray("12,1,A,3\n13,12, Aquaflore ,3\n") << QByteArray("12,1\n13,12\n") << 0 << none
        << QStringList{"13,12.00,Aquaflore,3"} << QByteArray("13,12\n") << "12.00" << "1.20";
    QTest::newRow("turnover after a deletion: the 0.05 step")
        << QByteArray("11,5,A,3\n12,10,A,3\n13,2.34,A,3\n") << QByteArray("11,5\n12,10\n13,2.34\n") << 0 << none
        << QStringList{"12,10.00,A,3", "13,2.34,A,3"} << QByteArray("12,10\n13,2.34\n") << "12.34" << "1.25";
    QTest::newRow("the last row") << QByteArray("12,1,A,3\n13,2,A,3\n") << QByteArray("12,1\n13,2\n") << 1 << none
                                  << QStringList{"12,1.00,A,3"} << QByteArray("12,1\n") << "1.00" << "0.10";
    QTest::newRow("coupon not in its sales file") << QByteArray("12,1,A,3\n13,2,A,3\n") << QByteArray("13,2\n") << 0
                                                  << none << QStringList{"13,2.00,A,3"} << QByteArray("13,2\n")
                                                  << "2.00" << "0.20";
    QTest::newRow("no sales file: said after the journal") << QByteArray("12,1,A,3\n13,2,A,3\n") << QByteArray() << 0
                                                           << QStringList{NoSalesFile} << QStringList{"13,2.00,A,3"}
                                                           << QByteArray() << "2.00" << "0.20";
    QTest::newRow("short line in the sales file; a blank one goes")
        << QByteArray("12,1,A,3\n") << QByteArray("9\n\n12,1\n") << 0 << none << QStringList()
        << QByteArray("9,\n") << "0.00" << "0.00";
  }
  void deletion() {
    QFETCH(QByteArray, rows);
    QFETCH(QByteArray, sales);
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, journalAfter);
    QFETCH(QByteArray, salesAfter);
    QFETCH(QString, total);
    QFETCH(QString, commission);
    Harness h;
    h.write("OVKB2025_main.csv", journal(rows));
    if (!sales.isNull()) h.write("vendeur_3.csv", sales);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    QStringList listAfter = Rows(*desk->ReferenceBox());
    listAfter.removeAt(row);

    Remove(desk, row);

    QCOMPARE(h.dialogs().texts(), texts);
    QCOMPARE(Rows(*desk->ReferenceBox()), listAfter);
    // The header carries the date of the run that deleted.
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), Header + journalAfter);
    QCOMPARE(h.exists("vendeur_3.csv"), !salesAfter.isNull());
    QCOMPARE(h.read("vendeur_3.csv"), salesAfter);
    QCOMPARE(desk->ShowTotal()->Text(), total);
    QCOMPARE(desk->ShowComm()->Text(), commission);
    QCOMPARE(tk::ApplyFormat(tk::AmountFormat, tk::Str(Module1::grandtotal)), total);
    QCOMPARE(Module1::vc2, QString("3"));
    QCOMPARE(desk->ReferenceBox()->ListIndex(), -1);
  }

  // A row booked in this run keeps the map's code text; its sales file is
  // the one the booking named, by the seller's number.
  void bookedInThisRun_data() {
    QTest::addColumn<QByteArray>("mapLine");
    QTest::addColumn<QString>("salesFile");
    QTest::addColumn<QString>("code");
    QTest::newRow("code 07") << QByteArray("30,Zoo,07\n") << "vendeur_7.csv" << "07";
    QTest::newRow("code with blanks") << QByteArray("30, Blanc , 8\n") << "vendeur_8.csv" << " 8";
    QTest::newRow("plain code") << QByteArray("30,Aquaflore,3\n") << "vendeur_3.csv" << "3";
  }

  // A hand-laid map may hold a number with blanks; the sales file's line of
  // that coupon still goes with it.
  void couponWithBlanksBookedInThisRun() {
    Harness h;
    h.write("couponsvendeurs.csv", " 12,A,3\n13,A,3\n");
    auto desk = testing::OpenDesk(h);
    Book(desk, " 12", "5");
    Book(desk, "13", "6");
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({" 12,5.00", "13,6.00"}));
    Remove(desk, 0);
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"13,6.00"}));
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), Header + QStringList{"13,6.00,A,3"});
  }
  void bookedInThisRun() {
    QFETCH(QByteArray, mapLine);
    QFETCH(QString, salesFile);
    QFETCH(QString, code);
    Harness h;
    h.write("couponsvendeurs.csv", "31,Autre,9\n" + mapLine);
    auto desk = testing::OpenDesk(h);
    Book(desk, "31", "4");
    Book(desk, "30", "5");
    QCOMPARE(Lines(h, salesFile), QStringList{"30,5.00"});
    h.dialogs().clear();
    Remove(desk, 1);
    QCOMPARE(h.dialogs().texts(), QStringList());
    QCOMPARE(Module1::vc2, code);
    QCOMPARE(h.read(salesFile), QByteArray());
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), Header + QStringList{"31,4.00,Autre,9"});
    QCOMPARE(Lines(h, "vendeur_9.csv"), QStringList{"31,4.00"});
    QCOMPARE(desk->ShowTotal()->Text(), QString("4.00"));
  }

  void secondClickAsksForASelection() {
    Harness h;
    h.write("OVKB2025_main.csv", journal("12,1,A,3\n13,2,A,3\n14,3,A,3\n"));
    h.write("vendeur_3.csv", "12,1\n13,2\n14,3\n");
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    Remove(desk, 1);
    desk->BevelButton3()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{NoSelection});
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"12|1.00|A|3", "14|3.00|A|3"}));
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"12,1", "14,3"}));
  }

  // The sales file cannot be put in place and the old journal cannot be put
  // back either: the row stays listed with the totals, the removal is left
  // for the next start to finish, and the cashier is told to start again.
  void journalThatCannotBePutBack() {
    Harness h;
    const QByteArray before = journal("12,1,A,3\n13,2,A,3\n");
    h.write("OVKB2025_main.csv", before);
    const QByteArray sales = longSales();
    h.write("vendeur_3.csv", sales);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    {
      testing::ChangeSteps faults([](storage::ChangeStep step, int index) {
        const bool salesFile = step == storage::ChangeStep::ChangeFile && index == 1;
        return salesFile || step == storage::ChangeStep::RestoreFile ? storage::StepAnswer::Fail : storage::StepAnswer::Go;
      });
      Remove(desk, 0);
    }
    QCOMPARE(h.dialogs().texts(),
             QStringList{"L'écriture dans les fichiers OVKB2025_main.csv, vendeur_3.csv a échoué et n'a pas pu être "
                         "annulée! Rien d'autre ne sera enregistré ni effacé: quittez Corvalenta et relancez-le, la "
                         "modification sera alors terminée."});
    QCOMPARE(h.read("OVKB2025_main.csv"), testing::JournalFile("5/3/2025", "13,2.00,A,3\n"));
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"12|1.00|A|3", "13|2.00|A|3"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("3.00"));
    QCOMPARE(h.read("vendeur_3.csv"), sales);
    // The record that finishes the removal stays, with the sales file's new
    // content, and the journal's kept under a second name.
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList({".corvalenta-change", ".corvalenta-kept.OVKB2025_main.csv", ".corvalenta-new.vendeur_3.csv",
                          "OVKB2025_main.csv", "ValComm.txt", "vendeur_3.csv"}));
  }

  // On a failure the row stays, and list, totals and files still agree.
  void failedDeletionChangesNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text");
    QTest::newRow("journal cannot be replaced") << "journal folder" << CannotRewrite;
    QTest::newRow("sales file cannot be written out: the journal is not touched") << "sales full" << CannotRewrite;
    QTest::newRow("sales file cannot be put in place: the journal is put back") << "sales rename" << CannotRewrite;
    QTest::newRow("sales file unreadable") << "sales folder" << NoSalesFile;
  }
  void failedDeletionChangesNothing() {
    QFETCH(QString, fault);
    QFETCH(QString, text);
    Harness h;
    const QByteArray before = journal("12,1,A,3\n13,2,A,3\n");
    h.write("OVKB2025_main.csv", before);
    const QByteArray sales = longSales();
    h.write("vendeur_3.csv", sales);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    std::unique_ptr<testing::FileSizeLimit> limit;
    std::unique_ptr<testing::ChangeSteps> steps;
    if (fault == "journal folder") {
      QVERIFY(QFile::remove(h.path("OVKB2025_main.csv")));
      QVERIFY(QDir(h.folder()).mkdir("OVKB2025_main.csv"));
    } else if (fault == "sales folder") {
      QVERIFY(QFile::remove(h.path("vendeur_3.csv")));
      QVERIFY(QDir(h.folder()).mkdir("vendeur_3.csv"));
    } else if (fault == "sales rename") {
      // The journal is already in place when the sales file fails.
      steps = std::make_unique<testing::ChangeSteps>(storage::ChangeStep::ChangeFile, 1, storage::StepAnswer::Fail);
    } else {
      limit = std::make_unique<testing::FileSizeLimit>(300);
    }

    Remove(desk, 0);
    limit.reset();
    steps.reset();

    QCOMPARE(h.dialogs().texts(), QStringList{text});
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"12|1.00|A|3", "13|2.00|A|3"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("3.00"));
    QCOMPARE(desk->ShowComm()->Text(), QString("0.30"));
    QCOMPARE(tk::Str(Module1::grandtotal), QString("3"));
    if (fault == "journal folder") {
      QVERIFY(QFileInfo(h.path("OVKB2025_main.csv")).isDir());
    } else {
      QCOMPARE(h.read("OVKB2025_main.csv"), before);
    }
    if (fault == "sales folder") {
      QVERIFY(QFileInfo(h.path("vendeur_3.csv")).isDir());
    } else {
      QCOMPARE(h.read("vendeur_3.csv"), sales);
    }
    // No temporary file is left behind.
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
  }
};

QTEST_MAIN(TestCouponDeletion)
#include "tst_coupondeletion.moc"
