#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "core/module1.h"
#include "core/sellerformat.h"
#include "register/editwin.h"
#include "reports/utilities.h"
#include "support/bookings.h"
#include "support/describe.h"
#include "support/desk.h"
#include "support/faults.h"
#include "support/harness.h"
#include "support/stubopener.h"
#include "rtf/printlauncher.h"
#include "rtf/rtfdocument.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

const QString MissingList =
    QString::fromUtf8("Fichier introuvable! Créez d'abord le fichier des coupons et des vendeurs!");
const QString CannotCreate = QString::fromUtf8("Impossible de créer un fichier pour ce vendeur!");
const QString AbiwordFailure =
    QString::fromUtf8("Impossible d'ouvrir Abiword! Vous devrez imprimer le fichier \"FichesVendeurs.rtf\" vous-même.");

const QString Confirmation = QString::fromUtf8("Fichier créé (Fichier_General_des_vendeurs.rtf).");
const QString ResultsStillOpen = QString::fromUtf8(
    "Le fichier \"Fichier_General_des_vendeurs.rtf\" est encore ouvert: fermez le programme qui l'affiche, puis "
    "recommencez.");

const QByteArray Sellers = "Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,100,2,0\nNord,2,,,,,101,200,0,0\n";

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

}  // namespace

class TestUtilities : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    const QString fmt = "format=-####.00";
    testing::DesignRows({
        {"BevelButton1", "BevelButton 45,118 206x30 \"Imprimer les fiches vendeurs\" focus=tab"},
        {"BevelButton2", "BevelButton 46,214 205x29 \"Imprimer les résultats\" focus=tab"},
        {"Controlle", "Listbox 31,277 205x37 cols=9: hidden focus=click"},
        {"TA1", "TextField 39,277 76x27 hidden focus=none"},
        {"StaticText4",
         "Label 46,168 198x34 \"Feuille générale de résultats des vendeurs (résultats finaux)\" wrap centre focus=none"},
        {"StaticText9", "Label 11,89 292x17 \"Fiches à suspendre au dessus des vendeurs\" focus=none"},
        {"TextField1", "TextField 215,277 79x27 hidden focus=none"},
        {"Kommision", "TextField 210,295 84x22 readonly " + fmt + " right hidden focus=none"},
        {"CoupinsVendeur", "Listbox 23,303 191x14 cols=2: grid hidden focus=click"},
        {"locbac", "TextField 189,277 84x22 centre hidden focus=none"},
        {"TotalNet", "TextField 103,295 84x22 readonly " + fmt + " right hidden focus=none"},
        {"fraise", "TextField 130,295 84x22 " + fmt + " right hidden focus=none"},
        {"TA2", "TextField 56,290 93x27 hidden focus=none"},
        {"fromat", "TextField 41,277 73x29 " + fmt + " hidden focus=none"},
        {"TotalBrut", "TextField 170,282 84x22 readonly " + fmt + " right hidden focus=none"},
        {"locramp", "TextField 170,277 84x22 centre hidden focus=none"},
        {"EcceHomo", "TextField 49,277 156x30 readonly hidden focus=none"},
        {"BevelButton3", "BevelButton 117,269 81x30 \"Fermer\" focus=tab"},
        {"BevelButton4", "BevelButton 45,43 206x30 \"Editer le fichier des vendeurs\" focus=tab"},
        {"StaticText10", "Label 22,14 270x17 \"Ajouter un vendeur, ajouter des coupons\" focus=none"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    QCOMPARE(testing::describeControl(tk::Ref<utilities>().get(), name), design);
  }

  void window() {
    testing::Harness h;
    auto w = tk::Ref<utilities>();
    QCOMPARE(w->objectName(), QString("utilities"));
    QCOMPARE(w->windowTitle(), QString("Fonctions utilitaires"));
    QCOMPARE(w->size(), QSize(317, 337));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QCOMPARE(w->Controls().size(), std::size_t(20));
    QCOMPARE(testing::tabWalk(w->BevelButton3(), 5),
             QStringList({"BevelButton3", "BevelButton1", "BevelButton2", "BevelButton4", "BevelButton3"}));
    testing::snapshot(w.get(), "utilities");
  }

  // The desk's "Utilitaires" shows the one window; after "Fermer" a new one
  // is built, its hidden list empty again.
  void openedFromTheDesk() {
    testing::Harness h;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    desk->BevelButton4()->click();
    auto w = tk::Ref<utilities>();
    QVERIFY(w.IsOpen());
    w->Controlle()->AddRow("kept");
    desk->BevelButton4()->click();
    QCOMPARE(tk::Ref<utilities>().get(), w.get());
    QCOMPARE(w->Controlle()->ListCount(), 1);
    w->BevelButton3()->click();
    QVERIFY(!w.IsOpen());
    desk->BevelButton4()->click();
    auto fresh = tk::Ref<utilities>();
    QVERIFY(fresh.IsOpen());
    QCOMPARE(fresh->Controlle()->ListCount(), 0);
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // "Editer le fichier des vendeurs" opens the editor beside the window; a
  // second click brings the same editor, not reloaded; each closes alone.
  void editorBesideTheWindow() {
    testing::Harness h;
    h.write(SellerListFile, Sellers);
    auto w = tk::Ref<utilities>();
    w->BevelButton4()->click();
    auto editor = tk::Ref<editwin>();
    QVERIFY(editor.IsOpen());
    QVERIFY(w.IsOpen());
    QCOMPARE(editor->ListeVendeurs2()->ListCount(), 2);
    h.write(SellerListFile, "");
    w->BevelButton4()->click();
    QCOMPARE(tk::Ref<editwin>().get(), editor.get());
    QCOMPARE(editor->ListeVendeurs2()->ListCount(), 2);
    w->BevelButton3()->click();
    QVERIFY(!w.IsOpen());
    QVERIFY(editor.IsOpen());
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // The cards are written, handed to the word processor as one absolute
  // path, and the window stays open whatever it answers.
  void cardsOpened() {
    testing::Harness h;
    testing::StubOpener opener;
    h.write(SellerListFile, Sellers);
    auto w = tk::Ref<utilities>();
    w->BevelButton1()->click();
    QTRY_COMPARE(opener.calls().size(), 1);
    const testing::StubOpener::Call call = opener.calls().first();
    QCOMPARE(call.program, QString("abiword"));
    QCOMPARE(call.arguments.size(), 1);
    QVERIFY(QFileInfo(call.arguments[0]).isAbsolute());
    QCOMPARE(canonical(call.arguments[0]), canonical(h.path("FichesVendeurs.rtf")));
    QCOMPARE(call.copy, h.read("FichesVendeurs.rtf"));
    QCOMPARE(call.copy.count('\n'), 5 + 33 * 2 + 1);
    QTRY_VERIFY(!PrintLaunchRunning(*w.get()));  // its ending has come, and left the window open
    QVERIFY(w.IsOpen());
    QCOMPARE(call.copy.split('\n').value(5 + 33 + 3), QByteArray("Nord"));  // the second card's name
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // Cards left open in the word processor: a second "Imprimer les fiches
  // vendeurs" says so and writes nothing, while the results still print.
  void cardsLeftOpen() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.hold();
    h.write(SellerListFile, Sellers);
    Module1::myday = "5/3/2025";
    auto w = tk::Ref<utilities>();
    w->BevelButton1()->click();
    QTRY_COMPARE(opener.calls().size(), 1);
    const QByteArray cards = h.read("FichesVendeurs.rtf");
    h.write(SellerListFile, Sellers + "Sud,3,,,,,201,300,0,0\n");
    const QString stillOpen = QString::fromUtf8(
        "Le fichier \"FichesVendeurs.rtf\" est encore ouvert: fermez le programme qui l'affiche, puis recommencez.");
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{stillOpen});
    QCOMPARE(h.read("FichesVendeurs.rtf"), cards);

    w->BevelButton2()->click();
    QTRY_COMPARE(opener.calls().size(), 2);
    QCOMPARE(QFileInfo(opener.calls()[1].arguments.value(0)).fileName(), QString("Fichier_General_des_vendeurs.rtf"));
    QCOMPARE(h.dialogs().texts(), QStringList({stillOpen, "Fichier créé (Fichier_General_des_vendeurs.rtf)."}));
    opener.release();
    QTRY_VERIFY(!w.IsOpen());
    QTRY_COMPARE(tk::ProgramsRunning(), 0);  // the cards' program too
    QCOMPARE(opener.calls().size(), 2);
  }

  void cardsNotOpened() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.setExitStatus(1);
    h.write(SellerListFile, "");
    auto w = tk::Ref<utilities>();
    w->BevelButton1()->click();
    QTRY_COMPARE(h.dialogs().texts(), QStringList{AbiwordFailure});
    QVERIFY(w.IsOpen());
    // An empty list still gives a file, and it was still handed over.
    QCOMPARE(opener.calls().size(), 1);
    QCOMPARE(h.read("FichesVendeurs.rtf").count('\n'), 6);
  }

  // No seller list: the message, the window closes, an older cards file
  // stays byte for byte, nothing is started.
  void missingSellerList() {
    testing::Harness h;
    testing::StubOpener opener;
    h.write("FichesVendeurs.rtf", "older cards\n");
    auto w = tk::Ref<utilities>();
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{MissingList});
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read("FichesVendeurs.rtf"), QByteArray("older cards\n"));
    QCOMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), 0);
  }

  // A cards file that cannot be written: the message, the window stays,
  // nothing is started.
  void cardsThatCannotBeWritten() {
    testing::Harness h;
    testing::StubOpener opener;
    h.write(SellerListFile, Sellers);
    QVERIFY(QDir(h.folder()).mkdir("FichesVendeurs.rtf"));
    auto w = tk::Ref<utilities>();
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{CannotCreate});
    QVERIFY(w.IsOpen());
    QCOMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), 0);
  }

  // The word processor showing the results is closed while a box of this
  // window is up: the window closes under the box as its results say, the
  // box is still answered, and the desk books on. The box is one saying
  // the results are still open, or the cards' failure.
  void resultsEndUnderAnOpenBox_data() {
    QTest::addColumn<bool>("cards");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("results clicked again") << false << QStringList({Confirmation, ResultsStillOpen});
    QTest::newRow("the cards' failure") << true << QStringList({Confirmation, AbiwordFailure});
  }
  void resultsEndUnderAnOpenBox() {
    QFETCH(bool, cards);
    QFETCH(QStringList, texts);
    testing::Harness h;
    testing::StubOpener opener;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    h.write(SellerListFile, Sellers);
    Module1::myday = "5/3/2025";
    auto w = tk::Ref<utilities>();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QPointer<utilities> window(w.get());
    opener.hold(GeneralResultsFile);
    opener.setExitStatus(1, SellerCardsFile);
    w->BevelButton2()->click();
    QTRY_COMPARE(opener.calls().size(), 1);

    h.dialogs().runNext({[&] { opener.release(GeneralResultsFile); }, [&] { return !w.IsOpen(); }});
    if (cards) {
      w->BevelButton1()->click();
      QTRY_VERIFY(!w.IsOpen());
    } else {
      w->BevelButton2()->click();
    }
    QVERIFY(!w.IsOpen());
    QTRY_VERIFY(!window);
    QCOMPARE(h.dialogs().texts(), texts);
    QCOMPARE(tk::ProgramsRunning(), 0);
    testing::CheckDeskBooksOn(h, desk);
  }
};

QTEST_MAIN(TestUtilities)
#include "tst_utilities.moc"
