#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "core/module1.h"
#include "register/editwin.h"
#include "register/sellerfiles.h"
#include "register/sellerwindows.h"
#include "register/vendorfiles.h"
#include "support/describe.h"
#include "support/faults.h"
#include "support/harness.h"
#include "toolkit/window.h"

using testing::Browsing;
using testing::CannotWrite;
using testing::ChangedOnDisk;
using testing::Edited;
using testing::EditedAfterRefusal;
using testing::NewSeller;
using testing::NewSellerAfterRefusal;
using testing::NewSellerMessage;
using testing::NoSellerSelected;
using testing::SellerSelected;
using testing::ThreeSellers;

namespace {

tk::Handle<editwin> openWith(testing::Harness& h, const QByteArray& list) {
  h.write(SellerListFile, list);
  return tk::Ref<editwin>();
}
QString state(editwin& w) {
  const QList<QPair<tk::BevelButton*, QChar>> buttons{
      {w.Selectioner(), 'S'}, {w.modifier(), 'M'}, {w.ajouter(), 'A'},  {w.nouveau(), 'N'},
      {w.abandonner(), 'A'},  {w.EnretQuit(), 'E'}, {w.quitter(), 'Q'}};
  QString out;
  for (const auto& b : buttons) out += b.first->isHidden() ? QChar('-') : b.second;
  return out;
}
// A click, as a user can give it: only on a shown button.
void press(tk::BevelButton* b) {
  QVERIFY2(!b->isHidden(), qPrintable(b->objectName() + " is hidden"));
  b->click();
}
void selectAndPress(editwin& w, int row) {
  w.ListeVendeurs2()->SetListIndex(row);
  press(w.Selectioner());
}

}  // namespace

class TestEditwin : public QObject {
  Q_OBJECT
 private slots:
  // The editor as its opening leaves it: four buttons hidden, as the state table says.
  void design_data() {
    const QString titles = " Vendeur" + QString(23, ' ') + "N° vendeur" + QString(16, ' ') + "Adresse" +
                           QString(29, ' ') + "E-mail" + QString(37, ' ') + "Localité" + QString(23, ' ') + "de..." +
                           QString(4, ' ') + "à...." + QString(4, ' ') + "Bacs" + QString(2, ' ') + "LEDs";
    testing::DesignRows({
        {"CouponStart", "TextField 20,52 54x39 focus=tab"},
        {"CouponStop", "TextField 86,52 54x40 focus=tab"},
        {"NomVendeur", "TextField 20,107 227x44 small focus=tab"},
        {"CodeVendeur", "TextField 163,52 54x37 focus=click"},
        {"ListeVendeurs2", "Listbox 267,56 773x304 cols=10:20%,5%,20%,20%,5%,10%,5%,5%,5%,5% small focus=click"},
        {"StaticText1", "Label 888,14 165x21 \"Coupons     Locations\" small focus=none"},
        {"StaticText2", "Label 273,32 767x21 \"" + titles + "\" bold small focus=none"},
        {"StaticText3", "Label 25,35 52x14 \"de...\" small focus=none"},
        {"StaticText4", "Label 99,35 52x14 \"à...\" small focus=none"},
        {"StaticText5", "Label 44,21 62x14 \"Coupons\" small focus=none"},
        {"StaticText6", "Label 25,94 52x15 \"Nom\" small focus=none"},
        {"StaticText7", "Label 165,35 52x14 \"Numéro\" small focus=none"},
        {"AdresseVendeur", "TextField 20,170 228x39 small focus=tab"},
        {"NumPostVendeur", "TextField 20,310 82x43 small focus=tab"},
        {"locaquariums", "TextField 36,404 56x41 \"0\" centre small focus=tab"},
        {"locrampes", "TextField 130,403 49x43 \"0\" centre small focus=tab"},
        {"StaticText8", "Label 20,147 52x31 \"Adresse\" small focus=none"},
        {"StaticText9", "Label 25,294 71x15 \"N° postal\" small focus=none"},
        {"StaticText10", "Label 123,294 52x15 \"Localité\" small focus=none"},
        {"StaticText11", "Label 41,385 74x18 \"Aquariums\" small focus=none"},
        {"StaticText12", "Label 148,385 69x18 \"LEDs\" small focus=none"},
        {"StaticText13", "Label 88,372 71x15 \"Locations\" bold italic underline focus=none"},
        {"VilleVendeur", "TextField 114,309 131x43 small focus=tab"},
        {"StaticText14", "Label 165,17 109x15 \"Vendeur\" small focus=none"},
        {"Selectioner", "BevelButton 340,430 140x34 \"Sélectionner\" small focus=none"},
        {"modifier", "BevelButton 500,431 138x33 \"Modifier\" hidden small focus=none"},
        {"ajouter", "BevelButton 798,431 132x34 \"Ajouter\" hidden small focus=none"},
        {"nouveau", "BevelButton 649,432 129x32 \"Nouveau\" small focus=none"},
        {"abandonner", "BevelButton 596,477 114x27 \"Abandonner\" hidden small focus=none"},
        {"EnretQuit", "BevelButton 55,467 146x26 \"Enregistrer et Quitter\" hidden small focus=none"},
        {"quitter", "BevelButton 83,505 90x26 \"Quitter\" small focus=none"},
        {"email", "TextField 20,228 225x54 small focus=tab"},
        {"Label1", "Label 20,213 100x20 \"E-Mail\" small focus=none"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    auto w = openWith(h, QByteArray());
    QWidget* c = w->Control(name);
    QVERIFY(c);
    QCOMPARE(c->objectName(), name);
    QCOMPARE(testing::describe(c), design);
  }

  void window() {
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    QCOMPARE(w->objectName(), QString("editwin"));
    QCOMPARE(w->windowTitle(), QString("Edition du fichier des vendeurs"));
    QCOMPARE(w->size(), QSize(1060, 564));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QCOMPARE(w->Controls().size(), std::size_t(33));
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->CouponStart()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->Label1()));
    QCOMPARE(w->StaticText2()->Text().size(), 195);
    // Every control is shown and enabled by design; the opening hides four buttons.
    for (const tk::ControlSpec& s : w->ControlDesign()) QVERIFY2(s.visible && s.enabled, qPrintable(s.name));
    selectAndPress(*w.get(), 0);
    testing::snapshot(w.get(), "editwin");
  }

  void tabPassesOverTheSellerCode() {
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    QCOMPARE(testing::tabWalk(w->CouponStart(), 10),
             QStringList({"CouponStart", "CouponStop", "NomVendeur", "AdresseVendeur", "email", "NumPostVendeur",
                          "VilleVendeur", "locaquariums", "locrampes", "CouponStart"}));
  }

  // Fields trimmed at loading, short and long lines cut to ten cells, the
  // coupon map rebuilt from the list, and an added row written last.
  void loadAndSaveRoundTrip() {
    testing::Harness h;
    h.write(CouponMapFile, "999,Perdu,99\n");
    auto w = openWith(h, " Aquaflore , 1 , Rue 1 ,a@x.ch,1000, Ville ,1,3,2,0\n"
                         "Court,2\n"
                         "Inverse,4,,,,,30,20,0,0\n"
                         "Aqua, Nord,9,,,,,50,52,0,0\n");
    QCOMPARE(testing::listRows(*w->ListeVendeurs2(), ','), QStringList({"Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,3,2,0",
                                                      "Court,2,,,,,,,,", "Inverse,4,,,,,30,20,0,0",
                                                      "Aqua,Nord,9,,,,,50,52,0"}));
    QCOMPARE(state(*w.get()), Browsing);
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "", "", "", "", "", "", "", "0", "0"}));

    press(w->nouveau());
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "5", "", "", "", "", "51", "", "0", "0"}));
    w->NomVendeur()->SetText("Neuf");
    w->CouponStop()->SetText("52");
    press(w->ajouter());
    QVERIFY(h.dialogs().texts() == QStringList({NewSellerMessage}));
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), QByteArray("Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,3,2,0\n"
                                                "Court,2,,,,,,,,\n"
                                                "Inverse,4,,,,,30,20,0,0\n"
                                                "Aqua,Nord,9,,,,,50,52,0\n"
                                                "Neuf,5,,,,,51,52,0,0\n"));
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 3, "Aquaflore,1") + "0,Court,2\n" + testing::couponLines(0, 50, "Aqua,Nord") +
                                        testing::couponLines(51, 52, "Neuf,5"));
  }

  void emptyListSavesEmptyFiles() {
    testing::Harness h;
    h.write(CouponMapFile, "1,Perdu,1\n");
    auto w = openWith(h, QByteArray());
    QCOMPARE(w->ListeVendeurs2()->ListCount(), 0);
    press(w->nouveau());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    press(w->abandonner());
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "", "", "", "", "", "", "", "", ""}));
    press(w->EnretQuit());
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), QByteArray());
    QCOMPARE(h.read(CouponMapFile), QByteArray());
  }

  void buttonStates_data() {
    QTest::addColumn<QStringList>("steps");  // "row N" selects a row of the list; else a button
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    const QStringList fresh{NewSellerMessage};
    QTest::newRow("opening") << QStringList() << Browsing << none;
    QTest::newRow("Sélectionner with a row") << QStringList{"row 1", "Selectioner"} << SellerSelected << none;
    QTest::newRow("Sélectionner without a row") << QStringList{"Selectioner"} << Browsing << QStringList{NoSellerSelected};
    QTest::newRow("Modifier") << QStringList{"row 1", "Selectioner", "modifier"} << Edited << none;
    QTest::newRow("Abandonner a selection") << QStringList{"row 1", "Selectioner", "abandonner"} << Edited << none;
    QTest::newRow("Nouveau") << QStringList{"nouveau"} << NewSeller << fresh;
    QTest::newRow("Ajouter") << QStringList{"nouveau", "name", "last", "ajouter"} << Edited << fresh;
    QTest::newRow("Abandonner a new seller") << QStringList{"nouveau", "abandonner"} << Edited << fresh;
    QTest::newRow("refused Ajouter") << QStringList{"nouveau", "ajouter"} << NewSeller
                                     << QStringList{NewSellerMessage, "Le nom du vendeur est obligatoire!"};
    QTest::newRow("refused Modifier") << QStringList{"row 1", "Selectioner", "code 1", "modifier"} << SellerSelected
                                      << QStringList{QString::fromUtf8("Le code vendeur 1 est déjà attribué à Aquaflore!")};
    QTest::newRow("Sélectionner once edited") << QStringList{"nouveau", "abandonner", "row 0", "Selectioner"}
                                              << SellerSelected << fresh;
    QTest::newRow("Sélectionner without a row once edited")
        << QStringList{"nouveau", "abandonner", "row -1", "Selectioner"} << Edited
        << QStringList{NewSellerMessage, NoSellerSelected};
    QTest::newRow("Nouveau once edited") << QStringList{"row 1", "Selectioner", "modifier", "nouveau"} << NewSeller
                                         << fresh;
  }
  void buttonStates() {
    QFETCH(QStringList, steps);
    QFETCH(QString, after);
    QFETCH(QStringList, messages);
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    for (const QString& step : steps) {
      if (step.startsWith("row ")) w->ListeVendeurs2()->SetListIndex(step.mid(4).toInt());
      else if (step == "name") w->NomVendeur()->SetText("Neuf");
      else if (step == "last") w->CouponStop()->SetText("120");
      else if (step == "code 1") w->CodeVendeur()->SetText("1");
      else press(w->findChild<tk::BevelButton*>(step));
      if (QTest::currentTestFailed()) return;
    }
    QCOMPARE(state(*w.get()), after);
    QCOMPARE(h.dialogs().texts(), messages);
    QVERIFY(w.IsOpen());
  }

  void selectionerWithoutARow() {
    testing::Harness h;
    auto w = openWith(h, QByteArray());
    Module1::generalfailure = 3;
    press(w->Selectioner());
    QCOMPARE(h.dialogs().texts(), QStringList({NoSellerSelected}));
    QCOMPARE(Module1::generalfailure, std::int64_t(-1));
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "", "", "", "", "", "", "", "0", "0"}));
  }

  void modifierWritesTheRecordedRow() {
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    selectAndPress(*w.get(), 0);
    QCOMPARE(Module1::generalfailure, std::int64_t(0));
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"Aquaflore", "1", "Rue 1", "a@x.ch", "1000", "Ville", "1", "25", "2", "0"}));
    w->ListeVendeurs2()->SetListIndex(2);  // a click on another row changes nothing
    QCOMPARE(testing::fieldTexts(*w.get()).first(), QString("Aquaflore"));
    w->NomVendeur()->SetText("  Aquaflore Nord ");
    w->CouponStop()->SetText("20");
    press(w->modifier());
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(testing::listRows(*w->ListeVendeurs2(), ','), QStringList({"  Aquaflore Nord ,1,Rue 1,a@x.ch,1000,Ville,1,20,2,0",
                                                      "Plantes,2,,,,,26,40,0,1", "Ichtyo,3,Quai 4,,3000,Bourg,41,100,0,0"}));
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "", "", "", "", "", "", "", "", ""}));
    QCOMPARE(w->ListeVendeurs2()->ListIndex(), 2);
  }

  // The creation window's checks, against every other row.
  void editRefusals_data() {
    QTest::addColumn<bool>("modify");  // Modifier on Aquaflore's row; else Nouveau then Ajouter
    QTest::addColumn<QStringList>("seller");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::newRow("Modifier keeps its own code and range")
        << true << QStringList{"Aquaflore", "1", "Rue 9", "", "", "", "1", "25", "0", "0"} << QString();
    QTest::newRow("Modifier to another's code")
        << true << QStringList{"Aquaflore", "2", "", "", "", "", "1", "25", "0", "0"}
        << QString::fromUtf8("Le code vendeur 2 est déjà attribué à Plantes!");
    QTest::newRow("Modifier into another's range")
        << true << QStringList{"Aquaflore", "1", "", "", "", "", "1", "30", "0", "0"}
        << QString::fromUtf8("Les coupons 1 à 30 chevauchent ceux de Plantes (26 à 40)!");
    QTest::newRow("Modifier with a comma")
        << true << QStringList{"Aquaflore", "1", "Rue 1, bis", "", "", "", "1", "25", "0", "0"}
        << QString::fromUtf8("Les champs ne doivent contenir ni virgule ni retour à la ligne!");
    QTest::newRow("Modifier to an empty name")
        << true << QStringList{"", "1", "", "", "", "", "1", "25", "0", "0"} << "Le nom du vendeur est obligatoire!";
    QTest::newRow("Ajouter a new seller")
        << false << QStringList{"Neuf", "4", "", "", "", "", "101", "200", "0", "0"} << QString();
    QTest::newRow("Ajouter with a code in use")
        << false << QStringList{"Neuf", "1", "", "", "", "", "101", "200", "0", "0"}
        << QString::fromUtf8("Le code vendeur 1 est déjà attribué à Aquaflore!");
    QTest::newRow("Ajouter into a range")
        << false << QStringList{"Neuf", "4", "", "", "", "", "90", "120", "0", "0"}
        << QString::fromUtf8("Les coupons 90 à 120 chevauchent ceux de Ichtyo (41 à 100)!");
    QTest::newRow("Ajouter 10001 coupons")
        << false << QStringList{"Neuf", "4", "", "", "", "", "101", "10101", "0", "0"}
        << "Un vendeur ne peut pas recevoir plus de 10000 coupons!";
    QTest::newRow("Ajouter with a leading zero")
        << false << QStringList{"Neuf", "04", "", "", "", "", "101", "200", "0", "0"}
        << QString::fromUtf8("Le code vendeur doit être un nombre entier de 1 à 99999, sans zéro en tête!");
    QTest::newRow("Ajouter a reversed range")
        << false << QStringList{"Neuf", "4", "", "", "", "", "200", "101", "0", "0"}
        << QString::fromUtf8("Les numéros de coupons doivent être des nombres entiers de 1 à 999999999, le premier "
                             "ne dépassant pas le dernier!");
  }
  void editRefusals() {
    QFETCH(bool, modify);
    QFETCH(QStringList, seller);
    QFETCH(QString, message);
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    if (modify) {
      selectAndPress(*w.get(), 0);
    } else {
      press(w->nouveau());
      QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    }
    h.dialogs().clear();
    const QStringList before = testing::listRows(*w->ListeVendeurs2(), ',');
    const QString stateBefore = state(*w.get());
    testing::typeSeller(*w.get(), seller);
    press(modify ? w->modifier() : w->ajouter());
    if (message.isEmpty()) {
      QVERIFY(h.dialogs().shown().isEmpty());
      QStringList expected = before;
      if (modify) expected[0] = seller.join(',');
      else expected << seller.join(',');
      QCOMPARE(testing::listRows(*w->ListeVendeurs2(), ','), expected);
      QCOMPARE(state(*w.get()), Edited);
    } else {
      QCOMPARE(h.dialogs().texts(), QStringList({message}));
      QCOMPARE(testing::listRows(*w->ListeVendeurs2(), ','), before);
      QCOMPARE(testing::fieldTexts(*w.get()), seller);
      QCOMPARE(state(*w.get()), stateBefore);
    }
  }

  // Rows that break the checks load and save as they stand; only what is
  // typed is checked.
  void rowsBreakingTheChecksSaveAsTheyAre() {
    testing::Harness h;
    const QByteArray list = "Ancien,07,,,,,1,20000,0,0\nDouble,07,,,,,5,6,0,0\n";
    auto w = openWith(h, list);
    press(w->nouveau());
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "8", "", "", "", "", "20001", "", "0", "0"}));
    testing::typeSeller(*w.get(), {"Neuf", "8", "", "", "", "", "20001", "20002", "0", "0"});
    press(w->ajouter());
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    QCOMPARE(h.read(SellerListFile), list + "Neuf,8,,,,,20001,20002,0,0\n");
    QCOMPARE(h.read(CouponMapFile),
             testing::couponLines(1, 20000, "Ancien,07") + testing::couponLines(5, 6, "Double,07") + testing::couponLines(20001, 20002, "Neuf,8"));
  }

  // A loaded range no fair has (coupons 1 to 10^12) would take hours and the
  // whole disk to write: the save says so and writes nothing, and the row
  // can be corrected.
  void hugeLoadedRangeIsNotWrittenOut() {
    testing::Harness h;
    const QByteArray list = "Aquaflore,1,,,,,1,25,0,0\nFaute,2,,,,,26,1000000000000,0,0\n";
    const QByteArray map = "1,Aquaflore,1\n";
    h.write(CouponMapFile, map);
    auto w = openWith(h, list);
    press(w->nouveau());
    QCOMPARE(w->CouponStart()->Text(), QString("1000000000001"));
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    press(w->abandonner());
    h.dialogs().clear();
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(),
             QStringList({QString::fromUtf8("Les coupons 26 à 1000000000000 de Faute sont trop nombreux pour être "
                                            "enregistrés! Corrigez-les avec \"Sélectionner\" puis \"Modifier\".")}));
    QVERIFY(w.IsOpen());
    QCOMPARE(state(*w.get()), EditedAfterRefusal);
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);

    selectAndPress(*w.get(), 1);
    w->CouponStop()->SetText("100");
    press(w->modifier());
    press(w->EnretQuit());
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), QByteArray("Aquaflore,1,,,,,1,25,0,0\nFaute,2,,,,,26,100,0,0\n"));
    QCOMPARE(h.read(CouponMapFile).count('\n'), 100);
  }

  // "Modifier" with no valid recorded row does nothing.
  void modifierWithoutARecordedRow_data() {
    QTest::addColumn<qint64>("recorded");
    QTest::newRow("none") << qint64(-1);
    QTest::newRow("past the last row") << qint64(3);
    QTest::newRow("far beyond") << qint64(1) * 40000000000;
  }
  void modifierWithoutARecordedRow() {
    QFETCH(qint64, recorded);
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    testing::typeSeller(*w.get(), {"Neuf", "9", "", "", "", "", "500", "600", "0", "0"});
    Module1::generalfailure = recorded;
    w->modifier_Action();
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(testing::listRows(*w->ListeVendeurs2(), ',').join('\n').toUtf8() + '\n', ThreeSellers);
    QCOMPARE(testing::fieldTexts(*w.get()).first(), QString("Neuf"));
    QCOMPARE(state(*w.get()), Browsing);
  }

  void nouveauProposals_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("first");
    QTest::newRow("empty list") << QByteArray() << "1" << "1";
    QTest::newRow("maxima from different rows") << QByteArray("A,3,,,,,1,150,0,0\nB,12,,,,,151,99,0,0\nC,abc,,,,,,,0,0\n")
                                                << "13" << "151";
    QTest::newRow("negative and zero") << QByteArray("A,-5,,,,,,,0,0\nB,0,,,,,,,0,0\n") << "1" << "1";
    QTest::newRow("fractions cut") << QByteArray("A,12.9,,,,,1,40.7,0,0\n") << "13" << "41";
    QTest::newRow("largest 64-bit values") << QByteArray("A,9223372036854774784,,,,,1,9e18,0,0\n")
                                           << "9223372036854774785" << "9000000000000000001";
  }
  void nouveauProposals() {
    QFETCH(QByteArray, list);
    QFETCH(QString, code);
    QFETCH(QString, first);
    testing::Harness h;
    auto w = openWith(h, list);
    testing::typeSeller(*w.get(), {"x", "x", "x", "x", "x", "x", "x", "x", "x", "x"});
    press(w->nouveau());
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", code, "", "", "", "", first, "", "0", "0"}));
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    QCOMPARE(state(*w.get()), NewSeller);
  }

  void nouveauFollowsTheRowJustAdded() {
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    press(w->nouveau());
    w->NomVendeur()->SetText("Neuf");
    w->CouponStop()->SetText("150");
    press(w->ajouter());
    press(w->nouveau());
    QCOMPARE(w->CodeVendeur()->Text(), QString("5"));
    QCOMPARE(w->CouponStart()->Text(), QString("151"));
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage, NewSellerMessage}));
  }

  void missingSellerList() {
    testing::Harness h;
    auto w = tk::Ref<editwin>();
    QCOMPARE(h.dialogs().texts(), QStringList({"Le fichier des vendeurs n'existe pas!"}));
    QVERIFY(!w.IsOpen());
    w.Show();  // what the utilities window will do with it
    QVERIFY(tk::OpenWindows().empty());
    QVERIFY(!h.exists(SellerListFile));
    QVERIFY(!h.exists(CouponMapFile));
  }

  // The editor never overwrites what was written since it loaded.
  void saveRefusedWhenTheListChanged_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("sellers typed in the creation window") << "creation";
    QTest::newRow("a line appended") << "append";
    QTest::newRow("one byte changed") << "byte";
    QTest::newRow("seller list removed") << "remove";
  }
  void saveRefusedWhenTheListChanged() {
    QFETCH(QString, change);
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    if (change == "creation") {
      auto c = tk::Ref<VendorFiles>();
      c->NomVendeur()->SetText("Tardif");
      c->CouponStop()->SetText("10");
      c->BevelButton1()->click();
      c->PushButton1()->click();
    } else if (change == "append") {
      h.write(SellerListFile, ThreeSellers + "Tardif,4,,,,,101,110,0,0\n");
    } else if (change == "byte") {
      QByteArray list = ThreeSellers;
      list[0] = 'a';
      h.write(SellerListFile, list);
    } else {
      QVERIFY(QFile::remove(h.path(SellerListFile)));
    }
    const bool listThere = h.exists(SellerListFile);
    const QByteArray list = h.read(SellerListFile);
    const QByteArray map = h.read(CouponMapFile);
    press(w->nouveau());
    press(w->abandonner());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    h.dialogs().clear();
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({ChangedOnDisk}));
    QVERIFY(w.IsOpen());
    QCOMPARE(state(*w.get()), EditedAfterRefusal);
    QCOMPARE(h.exists(SellerListFile), listThere);
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
  }

  // A coupon map that cannot be written leaves both files as they
  // were (the seller list put back) and the editor open for another try.
  void saveThatCannotWriteTheCouponMap() {
    testing::Harness h;
    const QByteArray list = " Aquaflore ,1,,,,,1,3,0,0\n";  // the save would trim it
    auto w = openWith(h, list);
    QVERIFY(QDir(h.folder()).mkdir(CouponMapFile));
    selectAndPress(*w.get(), 0);
    w->AdresseVendeur()->SetText("Rue 1");
    press(w->modifier());
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({CannotWrite}));
    QCOMPARE(h.read(SellerListFile), list);
    QVERIFY(QFileInfo(h.path(CouponMapFile)).isDir());
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList({SellerListFile}));  // no temporary left
    QVERIFY(w.IsOpen());
    QCOMPARE(state(*w.get()), EditedAfterRefusal);

    QVERIFY(QDir(h.folder()).rmdir(CouponMapFile));
    press(w->EnretQuit());
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), QByteArray("Aquaflore,1,Rue 1,,,,1,3,0,0\n"));
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 3, "Aquaflore,1"));
  }

  // However a save was refused, "Quitter" is then shown in every state, so
  // the editor can be left without saving (even with an empty list, where
  // no row can be selected), and leaving writes nothing.
  void refusedSaveCanAlwaysBeLeft_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("refusal");  // what stops the save
    QTest::addColumn<QString>("message");
    QTest::newRow("list changed, empty list") << QByteArray() << "changed" << ChangedOnDisk;
    QTest::newRow("coupon map cannot be written") << ThreeSellers << "map folder" << CannotWrite;
    QTest::newRow("huge loaded range")
        << QByteArray("Faute,2,,,,,26,1000000000000,0,0\n") << "none"
        << QString::fromUtf8("Les coupons 26 à 1000000000000 de Faute sont trop nombreux pour être enregistrés! "
                             "Corrigez-les avec \"Sélectionner\" puis \"Modifier\".");
  }
  void refusedSaveCanAlwaysBeLeft() {
    QFETCH(QByteArray, list);
    QFETCH(QString, refusal);
    QFETCH(QString, message);
    testing::Harness h;
    h.write(CouponMapFile, "1,Perdu,1\n");
    auto w = openWith(h, list);
    press(w->nouveau());
    press(w->abandonner());
    QCOMPARE(state(*w.get()), Edited);
    if (refusal == "changed") {
      h.write(SellerListFile, "Autre,9,,,,,1,2,0,0\n");
    } else if (refusal == "map folder") {
      QVERIFY(QFile::remove(h.path(CouponMapFile)));
      QVERIFY(QDir(h.folder()).mkdir(CouponMapFile));
    }
    const QByteArray listBefore = h.read(SellerListFile);
    const QByteArray mapBefore = h.read(CouponMapFile);
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage, message}));
    QCOMPARE(state(*w.get()), EditedAfterRefusal);
    press(w->nouveau());
    QCOMPARE(state(*w.get()), NewSellerAfterRefusal);
    press(w->abandonner());
    QCOMPARE(state(*w.get()), EditedAfterRefusal);
    QCOMPARE(h.dialogs().texts().size(), 3);
    press(w->quitter());
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), listBefore);
    QCOMPARE(h.read(CouponMapFile), mapBefore);
  }

  // The coupon map cannot be put in place and the seller list cannot be put
  // back either: the editor says to start again, and saves nothing more in
  // this run; the next start finishes the save.
  void saveThatLeavesTheFilesDisagreeing() {
    testing::Harness h;
    const QByteArray list = "Aquaflore,1,Rue 1,,,,1,50,0,0\n";
    const QByteArray map = testing::couponLines(1, 50, "Aquaflore,1");
    h.write(CouponMapFile, map);
    auto w = openWith(h, list);
    selectAndPress(*w.get(), 0);
    w->AdresseVendeur()->SetText(QString());
    w->CouponStop()->SetText("40");
    press(w->modifier());
    const QByteArray changed = "Aquaflore,1,,,,,1,40,0,0\n";
    {
      testing::ChangeSteps faults([](storage::ChangeStep step, int index) {
        const bool couponMap = step == storage::ChangeStep::ChangeFile && index == 1;
        return couponMap || step == storage::ChangeStep::RestoreFile ? storage::StepAnswer::Fail : storage::StepAnswer::Go;
      });
      press(w->EnretQuit());
    }
    const QString startAgain = QString::fromUtf8(
        "L'écriture dans les fichiers ListeVendeurs.csv, couponsvendeurs.csv a échoué et n'a pas pu être annulée! "
        "Rien d'autre ne sera enregistré ni effacé: quittez Corvalenta et relancez-le, la modification sera alors "
        "terminée.");
    QCOMPARE(h.dialogs().texts(), QStringList({startAgain}));
    QCOMPARE(h.read(SellerListFile), changed);
    QCOMPARE(h.read(CouponMapFile), map);
    QVERIFY(w.IsOpen());
    QCOMPARE(state(*w.get()), EditedAfterRefusal);

    // A second try writes nothing, and says so again.
    press(w->EnretQuit());
    QCOMPARE(h.dialogs().texts(), QStringList({startAgain, startAgain}));
    QCOMPARE(h.read(SellerListFile), changed);
    QCOMPARE(h.read(CouponMapFile), map);
    press(w->quitter());
    QVERIFY(!w.IsOpen());

    storage::ForgetGivenUpChange();  // the next start
    auto next = tk::Ref<editwin>();
    QCOMPARE(h.dialogs().texts().mid(2),
             QStringList({QString::fromUtf8("La modification des fichiers ListeVendeurs.csv, couponsvendeurs.csv, qui "
                                            "avait échoué avant le redémarrage, est maintenant terminée.")}));
    QVERIFY(next.IsOpen());
    QCOMPARE(h.read(SellerListFile), changed);
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 40, "Aquaflore,1"));
  }

  void quitterWritesNothing() {
    testing::Harness h;
    h.write(CouponMapFile, "1,Aquaflore,1\n");
    auto w = openWith(h, ThreeSellers);
    selectAndPress(*w.get(), 1);
    w->NomVendeur()->SetText("Autre");
    press(w->modifier());
    QCOMPARE(state(*w.get()), Edited);  // "Quitter" hidden once changed
    selectAndPress(*w.get(), 2);
    press(w->quitter());
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.read(SellerListFile), ThreeSellers);
    QCOMPARE(h.read(CouponMapFile), QByteArray("1,Aquaflore,1\n"));

    auto again = tk::Ref<editwin>();
    QVERIFY(again.get() != w.get());
    QCOMPARE(testing::listRows(*again->ListeVendeurs2(), ',').join('\n').toUtf8() + '\n', ThreeSellers);
    QCOMPARE(state(*again.get()), Browsing);
    QCOMPARE(testing::fieldTexts(*again.get()), QStringList({"", "", "", "", "", "", "", "", "0", "0"}));
  }

  void anOpenEditorIsNotReloaded() {
    testing::Harness h;
    auto w = openWith(h, ThreeSellers);
    press(w->nouveau());
    testing::typeSeller(*w.get(), {"Neuf", "4", "", "", "", "", "101", "110", "0", "0"});
    press(w->ajouter());
    QCOMPARE(h.dialogs().texts(), QStringList({NewSellerMessage}));
    h.write(SellerListFile, "Autre,9,,,,,1,2,0,0\n");
    auto same = tk::Ref<editwin>();
    QCOMPARE(same.get(), w.get());
    QCOMPARE(w->ListeVendeurs2()->ListCount(), 4);
    QCOMPARE(state(*w.get()), Edited);
  }
};

QTEST_MAIN(TestEditwin)
#include "tst_editwin.moc"
