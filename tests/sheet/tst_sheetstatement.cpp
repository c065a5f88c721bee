#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "sheet/sheetwindows.h"
#include "rtf/printlauncher.h"
#include "support/bookings.h"
#include "support/harness.h"
#include "support/stubopener.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

const QString CannotCreate = QString::fromUtf8("Impossible de créer un fichier pour ce vendeur!");

QString openFailure(const QString& file) {
  return QString::fromUtf8("Impossible d'ouvrir le fichier \"%1\"! Vous devrez imprimer le fichier \"%1\" vous-même.")
      .arg(file);
}

const QString StillOpen = QString::fromUtf8(
    "Le fichier \"vendeur_1.rtf\" est encore ouvert: fermez le programme qui l'affiche, puis recommencez.");

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// Two sellers, seller 1 with four coupons booked in another order.
void twoSellers(const testing::Harness& h) {
  h.write(SellerListFile,
          QString::fromUtf8("Élodie Müller,1,Rue du Château,e@x.ch,1003,Genève,1,25,2,1\n"
                            "Plantes,2,Quai 4,,3000,Bourg,26,40,0,0\n")
              .toUtf8());
  h.write(SellerSalesFile(1), "12,7\n3,10\n20,1.5\n4,2\n");
  h.write(SellerSalesFile(2), "30,20\n");
  Module1::ovktaux = 0.1;
  Module1::myday = "5/3/2025";
}

// The statement's lines; `n` counts from 1 as the layout does.
QString line(const QByteArray& file, int n) { return QString::fromLatin1(file.split('\n').value(n - 1)); }

}  // namespace

class TestSheetStatement : public QObject {
  Q_OBJECT
 private slots:
  // "Imprimer": the statement of the sheet's seller, as the sheet shows it,
  // handed to the opener as one absolute path; the sheet then closes.
  void printed() {
    testing::Harness h;
    testing::StubOpener opener;
    twoSellers(h);
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    QVERIFY(sheet);
    sheet->BevelButton2()->click();
    QTRY_VERIFY(!testing::openWindowOf<FeuilleVendeur>());
    const QByteArray statement = h.read("vendeur_1.rtf");
    QCOMPARE(statement.count('\n'), 77 + 15 * 2);
    QCOMPARE(line(statement, 10), QString("\\'c9lodie M\\'fcller"));
    QCOMPARE(line(statement, 16), QString("Rue du Ch\\'e2teau"));
    QCOMPARE(line(statement, 18), QString("1003  Gen\\'e8ve"));
    QCOMPARE(line(statement, 27), QString("1"));
    // Gross 20.5, commission 2.05, fees 15, net 3.45.
    QCOMPARE(line(statement, 37), QString("\\tab 20.50\\tab 2.05\\tab 15.00\\tab 3.45"));
    QCOMPARE(line(statement, 45), QString("\\tab Date: 5/3/2025\\tab Quittance:"));
    QCOMPARE(line(statement, 89), QString("{\\cell 3\\cell 10.00\\cell \\cell 4\\cell 2.00\\cell \\cell 12\\cell 7.00\\cell \\cell}"));
    QCOMPARE(line(statement, 104), QString("{\\cell 20\\cell 1.50\\cell \\cell \\cell \\cell \\cell \\cell \\cell \\cell}"));

    const QList<testing::StubOpener::Call> calls = opener.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].program, QString("xdg-open"));
    QCOMPARE(calls[0].arguments.size(), 1);
    QVERIFY(QFileInfo(calls[0].arguments[0]).isAbsolute());
    QCOMPARE(canonical(calls[0].arguments[0]), canonical(h.path("vendeur_1.rtf")));
    QCOMPARE(calls[0].copy, statement);
    QVERIFY(h.dialogs().shown().isEmpty());
    // The program-wide seller is not touched: escaping works on copies.
    QCOMPARE(Module1::adresse2, QString::fromUtf8("Rue du Château"));
    QCOMPARE(Module1::localite2, QString::fromUtf8("Genève"));
  }

  // The opener fails: the message names the file, the sheet stays, and a
  // second click writes the same bytes.
  void openerFails() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.setExitStatus(3);
    twoSellers(h);
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    sheet->BevelButton2()->click();
    QTRY_COMPARE(h.dialogs().texts(), QStringList{openFailure("vendeur_1.rtf")});
    QCOMPARE(testing::openWindowOf<FeuilleVendeur>(), sheet);
    const QByteArray first = h.read("vendeur_1.rtf");
    opener.setExitStatus(0);
    sheet->BevelButton2()->click();
    QTRY_VERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QCOMPARE(opener.calls().size(), 2);
    QCOMPARE(h.read("vendeur_1.rtf"), first);
    QCOMPARE(h.dialogs().texts(), QStringList{openFailure("vendeur_1.rtf")});
  }

  // A statement that cannot be created: the message, the sheet closes, and
  // nothing is started.
  void cannotBeCreated() {
    testing::Harness h;
    testing::StubOpener opener;
    twoSellers(h);
    QVERIFY(QDir(h.folder()).mkdir("vendeur_1.rtf"));
    testing::chooseSeller(0);
    testing::openWindowOf<FeuilleVendeur>()->BevelButton2()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{CannotCreate});
    QVERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QCOMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), 0);
    QVERIFY(QFileInfo(h.path("vendeur_1.rtf")).isDir());
  }

  // A sheet left open prints its own seller, whatever the picker chose
  // since; fees typed by hand print beside the net that follows them.
  void printsTheSellerItWasBuiltFor() {
    testing::Harness h;
    testing::StubOpener opener;
    twoSellers(h);
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    testing::chooseSeller(1);
    QCOMPARE(Module1::vc2, QString("2"));
    Module1::vc2 = "7";  // as the desk's "Effacer" would
    sheet->fraise()->setFocus();
    sheet->fraise()->selectAll();
    QTest::keyClicks(sheet->fraise(), "4");
    sheet->BevelButton2()->click();
    QTRY_VERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QVERIFY(!h.exists("vendeur_2.rtf"));
    QVERIFY(!h.exists("vendeur_7.rtf"));
    const QByteArray statement = h.read("vendeur_1.rtf");
    QCOMPARE(line(statement, 16), QString("Rue du Ch\\'e2teau"));
    QCOMPARE(line(statement, 27), QString("1"));
    QCOMPARE(line(statement, 37), QString("\\tab 20.50\\tab 2.05\\tab 4.00\\tab 14.45"));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // The fees print as their field shows them at the click: an emptied
  // field prints nothing, and a pasted line break that the field drops
  // after the edit is not in the printed fees.
  void feesAsTheFieldShowsThem_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("totals");  // the start of line 37
    QTest::newRow("emptied") << "" << "\\tab 20.50\\tab 2.05\\tab \\tab 18.45";
    QTest::newRow("a line break") << "1\n2" << "\\tab 20.50\\tab 2.05\\tab 12.00\\tab ";
  }
  void feesAsTheFieldShowsThem() {
    QFETCH(QString, pasted);
    QFETCH(QString, totals);
    testing::Harness h;
    testing::StubOpener opener;
    twoSellers(h);
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    sheet->fraise()->selectAll();
    if (pasted.isEmpty()) sheet->fraise()->del();
    else sheet->fraise()->insert(pasted);  // as a paste: one edit
    QCOMPARE(sheet->fraise()->Text(), pasted.isEmpty() ? QString() : QString("12.00"));
    sheet->BevelButton2()->click();
    QTRY_VERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QCOMPARE(line(h.read("vendeur_1.rtf"), 37).left(totals.size()), totals);
  }

  // While the opener runs, the desk's event loop goes on and a second click
  // starts nothing, nor rewrites the file being opened; the sheet closes
  // when the opener ends.
  void nothingWaitsForTheOpener() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.hold();
    twoSellers(h);
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    sheet->BevelButton2()->click();
    QTRY_COMPARE(opener.calls().size(), 1);
    const QByteArray opened = h.read("vendeur_1.rtf");
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    QTRY_VERIFY(fired);
    sheet->fraise()->setFocus();
    sheet->fraise()->selectAll();
    QTest::keyClicks(sheet->fraise(), "4");
    sheet->BevelButton2()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{StillOpen});
    QVERIFY(PrintLaunchRunning(*sheet));
    QCOMPARE(tk::ProgramsRunning(), 1);
    QCOMPARE(opener.calls().size(), 1);
    QCOMPARE(h.read("vendeur_1.rtf"), opened);
    QCOMPARE(testing::openWindowOf<FeuilleVendeur>(), sheet);
    opener.release();
    QTRY_VERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QCOMPARE(h.dialogs().texts(), QStringList{StillOpen});
  }

  // The user closes the statement's program while the box saying it is
  // still open is up: the sheet closes under the box as a printed sheet
  // does, the box is still answered, and the desk books on.
  void openerEndsUnderTheStillOpenBox() {
    testing::Harness h;
    testing::StubOpener opener;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    twoSellers(h);
    testing::chooseSeller(0);
    const QPointer<FeuilleVendeur> sheet(testing::openWindowOf<FeuilleVendeur>());
    QVERIFY(sheet);
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    opener.hold();
    sheet->BevelButton2()->click();
    QTRY_COMPARE(opener.calls().size(), 1);

    h.dialogs().runNext({[&] { opener.release(); }, [] { return !testing::openWindowOf<FeuilleVendeur>(); }});
    sheet->BevelButton2()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{StillOpen});
    QVERIFY(!testing::openWindowOf<FeuilleVendeur>());
    QTRY_VERIFY(!sheet);
    QCOMPARE(tk::ProgramsRunning(), 0);
    testing::CheckDeskBooksOn(h, desk);
  }
};

QTEST_MAIN(TestSheetStatement)
#include "tst_sheetstatement.moc"
