#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "register/editwin.h"
#include "register/sellerfiles.h"
#include "register/sellerwindows.h"
#include "register/vendorfiles.h"
#include "support/describe.h"
#include "support/desk.h"
#include "support/faults.h"
#include "support/harness.h"
#include "toolkit/window.h"

using testing::NewSellerMessage;
using testing::ProblemCreating;

namespace {

// The window after the opening, with Aquaflore (code 1, coupons 1 to 25) added.
tk::Handle<VendorFiles> withAquaflore() {
  auto w = tk::Ref<VendorFiles>();
  testing::typeSeller(*w.get(), {"Aquaflore", "1", "", "", "", "", "1", "25", "0", "0"});
  w->BevelButton1()->click();
  return w;
}

}  // namespace

// What stands in a file's place, or what happens to its write.
enum AppendFault { Folder, LinkToFullDevice, WriteFails };

class TestVendorFiles : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"PushButton1", "PushButton 423,369 81x38 \"Fermer\" bold small focus=click"},
        {"CouponStart", "TextField 25,38 54x38 small focus=tab"},
        {"CouponStop", "TextField 92,38 54x40 small focus=tab"},
        {"NomVendeur", "TextField 25,93 120x40 small focus=tab"},
        {"CodeVendeur", "TextField 168,38 54x42 small focus=tab"},
        {"ListeVendeurs", "Listbox 272,42 232x313 cols=4:15%,15%,60%,10% small focus=click"},
        {"BevelButton1", "BevelButton 157,96 96x28 \"Ajouter\" small focus=tab"},
        {"StaticText1", "Label 278,0 202x21 \"coupons\" focus=none"},
        {"StaticText2", "Label 278,18 226x21 \"de..   à...   Vendeur               code\" small focus=none"},
        {"StaticText3", "Label 30,21 52x14 \"de...\" small focus=none"},
        {"StaticText4", "Label 104,21 52x14 \"à...\" small focus=none"},
        {"StaticText5", "Label 49,7 52x14 \"Coupons\" small focus=none"},
        {"StaticText6", "Label 25,70 52x37 \"Nom\" small focus=none"},
        {"StaticText7", "Label 170,21 52x14 \"Numéro\" small focus=none"},
        {"AdresseVendeur", "TextField 25,144 228x45 small focus=tab"},
        {"NumPostVendeur", "TextField 25,292 82x45 small focus=tab"},
        {"locaquariums", "TextField 20,396 53x39 \"0\" centre small focus=tab"},
        {"locrampes", "TextField 111,396 49x39 \"0\" centre small focus=tab"},
        {"StaticText8", "Label 25,132 52x15 \"Adresse\" small focus=none"},
        {"StaticText9", "Label 28,273 71x15 \"N° postal\" small focus=none"},
        {"StaticText10", "Label 126,273 52x15 \"Localité\" small focus=none"},
        {"StaticText11", "Label 20,377 71x15 \"Aquariums\" small focus=none"},
        {"StaticText12", "Label 118,377 37x15 \"LEDs\" small focus=none"},
        {"StaticText13", "Label 64,361 71x15 \"Locations\" bold italic underline small focus=none"},
        {"VilleVendeur", "TextField 119,291 131x45 small focus=tab"},
        {"StaticText14", "Label 170,3 109x15 \"Vendeur\" small focus=none"},
        {"email", "TextField 25,206 227x50 small focus=tab"},
        {"Label1", "Label 25,192 100x20 \"E-Mail\" small focus=none"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    QWidget* c = w->Control(name);
    QVERIFY(c);
    QCOMPARE(c->objectName(), name);
    // The opening sets CouponStart and CodeVendeur; the design leaves them empty.
    if (name == "CouponStart" || name == "CodeVendeur") static_cast<tk::TextField*>(c)->SetText(QString());
    QCOMPARE(testing::describe(c), design);
  }

  void window() {
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    QCOMPARE(w->objectName(), QString("VendorFiles"));
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Création des fichies vendeurs"));
    QCOMPARE(w->size(), QSize(524, 457));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QCOMPARE(w->Controls().size(), std::size_t(28));
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->PushButton1()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->Label1()));
    QVERIFY(!w->PushButton1()->isDefault() && !w->PushButton1()->autoDefault());
    testing::snapshot(w.get(), "VendorFiles");
  }

  void tabOrder() {
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    QCOMPARE(testing::tabWalk(w->CouponStart(), 12),
             QStringList({"CouponStart", "CouponStop", "NomVendeur", "AdresseVendeur", "email", "NumPostVendeur",
                          "CodeVendeur", "VilleVendeur", "locaquariums", "locrampes", "BevelButton1", "CouponStart"}));
  }

  void openingEmptiesBothSellerFilesOnly_data() {
    QTest::addColumn<bool>("filesExist");
    QTest::newRow("both hold sellers") << true;
    QTest::newRow("neither exists") << false;
  }
  void openingEmptiesBothSellerFilesOnly() {
    QFETCH(bool, filesExist);
    testing::Harness h;
    if (filesExist) {
      h.write(SellerListFile, "Aquaflore,3,Rue 1,,1000,Ville,1,3,2,0\n");
      h.write(CouponMapFile, "1,Aquaflore,3\n2,Aquaflore,3\n3,Aquaflore,3\n");
    }
    const QList<QPair<QString, QByteArray>> others{
        {"OVKB2025_main.csv", "Numéro de coupon,Valeur encaissée,Nom du vendeur,Numéro du vendeur\n\n2,5.00,Aquaflore,3\n"},
        {"vendeur_3.csv", "2,5.00\n"},
        {"ValComm.txt", "0.15\n"}};
    for (const auto& f : others) h.write(f.first, f.second);

    auto w = tk::Ref<VendorFiles>();
    QVERIFY(w.IsOpen());
    QVERIFY(h.exists(SellerListFile) && h.exists(CouponMapFile));
    QCOMPARE(h.read(SellerListFile), QByteArray());
    QCOMPARE(h.read(CouponMapFile), QByteArray());
    for (const auto& f : others) QCOMPARE(h.read(f.first), f.second);
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "1", "", "", "", "", "1", "", "0", "0"}));
    QCOMPARE(w->ListeVendeurs()->ListCount(), 0);
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void openingThatCannotEmptyTheFiles_data() {
    QTest::addColumn<QString>("blocked");  // a folder stands where this file should be
    QTest::newRow("seller list") << SellerListFile;
    QTest::newRow("coupon map") << CouponMapFile;
  }
  void openingThatCannotEmptyTheFiles() {
    QFETCH(QString, blocked);
    testing::Harness h;
    const QByteArray list = "Aquaflore,3,Rue 1,,1000,Ville,1,3,2,0\n";
    const QByteArray map = "1,Aquaflore,3\n2,Aquaflore,3\n3,Aquaflore,3\n";
    if (blocked != SellerListFile) h.write(SellerListFile, list);
    if (blocked != CouponMapFile) h.write(CouponMapFile, map);
    QDir(h.folder()).mkdir(blocked);

    auto w = tk::Ref<VendorFiles>();
    QCOMPARE(h.dialogs().texts(), QStringList({QString::fromUtf8("Impossible de remettre à zéro les fichiers vendeurs!")}));
    QVERIFY(!w.IsOpen());
    QVERIFY(tk::OpenWindows().empty());
    // Neither file was emptied: a folder in the place of either is seen before anything is written.
    if (blocked != SellerListFile) QCOMPARE(h.read(SellerListFile), list);
    if (blocked != CouponMapFile) QCOMPARE(h.read(CouponMapFile), map);
  }

  void firstSellerAfterTheOpening() {
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    w->NomVendeur()->SetText("Aquaflore");
    w->CouponStop()->SetText("25");
    w->BevelButton1()->click();
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(testing::listRows(*w->ListeVendeurs(), '|'), QStringList({"1|25|Aquaflore|1"}));
    QCOMPARE(h.read(SellerListFile), QByteArray("Aquaflore,1,,,,,1,25,0,0\n"));
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 25, "Aquaflore,1"));
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", "2", "", "", "", "", "26", "", "0", "0"}));
  }

  void nextProposals_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("nextFirst");
    QTest::addColumn<QString>("nextCode");
    QTest::addColumn<int>("couponLines");
    QTest::newRow("one coupon") << "40" << "40" << "1" << "41" << "2" << 1;
    QTest::newRow("code typed over the offer") << "1" << "10" << "7" << "11" << "8" << 10;
    QTest::newRow("range not from the offer") << "500" << "599" << "3" << "600" << "4" << 100;
    QTest::newRow("highest values") << "999990000" << "999999999" << "99999" << "1000000000" << "100000" << 10000;
  }
  void nextProposals() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, code);
    QFETCH(QString, nextFirst);
    QFETCH(QString, nextCode);
    QFETCH(int, couponLines);
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    testing::typeSeller(*w.get(), {"Plantes", code, "Rue 2", "p@x.ch", "2000", "Bourg", first, last, "1", "2"});
    w->BevelButton1()->click();
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(h.read(SellerListFile), ("Plantes," + code + ",Rue 2,p@x.ch,2000,Bourg," + first + "," + last + ",1,2\n").toUtf8());
    QCOMPARE(h.read(CouponMapFile).count('\n'), couponLines);
    QCOMPARE(testing::fieldTexts(*w.get()), QStringList({"", nextCode, "", "", "", "", nextFirst, "", "0", "0"}));
  }

  // Three sellers typed at the start of a fair; the desk then finds each
  // coupon's seller in the coupon map, and "Fermer" writes nothing more.
  void threeSellersThenFermer() {
    testing::Harness h;
    auto w = tk::Ref<VendorFiles>();
    testing::typeSeller(*w.get(), {"Aquaflore", "1", "Rue 1", "", "1000", "Ville", "1", "25", "2", "0"});
    w->BevelButton1()->click();
    w->NomVendeur()->SetText(QString::fromUtf8("Plantes Léon"));
    w->CouponStop()->SetText("40");
    w->BevelButton1()->click();
    w->NomVendeur()->SetText("Ichtyo");
    w->CouponStop()->SetText("100");
    w->BevelButton1()->click();
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(testing::listRows(*w->ListeVendeurs(), '|'),
             QStringList({"1|25|Aquaflore|1", QString::fromUtf8("26|40|Plantes Léon|2"), "41|100|Ichtyo|3"}));
    const QByteArray list = QString::fromUtf8("Aquaflore,1,Rue 1,,1000,Ville,1,25,2,0\n"
                                              "Plantes Léon,2,,,,,26,40,0,0\n"
                                              "Ichtyo,3,,,,,41,100,0,0\n").toUtf8();
    const QByteArray map = testing::couponLines(1, 25, "Aquaflore,1") + testing::couponLines(26, 40, QString::fromUtf8("Plantes Léon,2")) +
                           testing::couponLines(41, 100, "Ichtyo,3");
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
    QCOMPARE(FindCouponOwner(map, "26").name, QString::fromUtf8("Plantes Léon"));
    QCOMPARE(FindCouponOwner(map, "100").code, QString("3"));
    QVERIFY(!FindCouponOwner(map, "101").found);

    testing::snapshot(w.get(), "VendorFiles-three-sellers");
    w->PushButton1()->click();
    QVERIFY(!w.IsOpen());
    QVERIFY(tk::OpenWindows().empty());
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
  }

  void refused_data() {
    QTest::addColumn<QStringList>("seller");  // in seller-line order
    QTest::addColumn<QString>("message");
    const QString name = QStringLiteral("Le nom du vendeur est obligatoire!");
    const QString comma = QString::fromUtf8("Les champs ne doivent contenir ni virgule ni retour à la ligne!");
    const QString code =
        QString::fromUtf8("Le code vendeur doit être un nombre entier de 1 à 99999, sans zéro en tête!");
    const QString coupons = QString::fromUtf8(
        "Les numéros de coupons doivent être des nombres entiers de 1 à 999999999, le premier ne dépassant pas le "
        "dernier!");
    // Aquaflore (code 1, coupons 1 to 25) is already listed.
    QTest::newRow("empty name") << QStringList{"", "2", "", "", "", "", "26", "30", "0", "0"} << name;
    QTest::newRow("blank name") << QStringList{"   ", "2", "", "", "", "", "26", "30", "0", "0"} << name;
    QTest::newRow("comma in the name") << QStringList{"Aquaflore, Nord", "2", "", "", "", "", "26", "30", "0", "0"} << comma;
    QTest::newRow("comma in the town") << QStringList{"B", "2", "", "", "", "Ville,Sud", "26", "30", "0", "0"} << comma;
    QTest::newRow("comma in a count") << QStringList{"B", "2", "", "", "", "", "26", "30", "1,5", "0"} << comma;
    QTest::newRow("empty code") << QStringList{"B", "", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("code 0") << QStringList{"B", "0", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("leading zero") << QStringList{"B", "07", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("code 100000") << QStringList{"B", "100000", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("blank in code") << QStringList{"B", "2 ", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("signed code") << QStringList{"B", "+2", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("decimal code") << QStringList{"B", "2.0", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("word as code") << QStringList{"B", "Nord", "", "", "", "", "26", "30", "0", "0"} << code;
    QTest::newRow("code already given")
        << QStringList{"B", "1", "", "", "", "", "26", "30", "0", "0"}
        << QString::fromUtf8("Le code vendeur 1 est déjà attribué à Aquaflore!");
    QTest::newRow("last empty") << QStringList{"B", "2", "", "", "", "", "26", "", "0", "0"} << coupons;
    QTest::newRow("first 0") << QStringList{"B", "2", "", "", "", "", "0", "30", "0", "0"} << coupons;
    QTest::newRow("reversed") << QStringList{"B", "2", "", "", "", "", "30", "26", "0", "0"} << coupons;
    QTest::newRow("beyond 999999999") << QStringList{"B", "2", "", "", "", "", "26", "1000000000", "0", "0"} << coupons;
    QTest::newRow("decimal coupon") << QStringList{"B", "2", "", "", "", "", "26", "30.5", "0", "0"} << coupons;
    QTest::newRow("negative coupon") << QStringList{"B", "2", "", "", "", "", "-5", "30", "0", "0"} << coupons;
    QTest::newRow("10001 coupons") << QStringList{"B", "2", "", "", "", "", "26", "10026", "0", "0"}
                                   << QStringLiteral("Un vendeur ne peut pas recevoir plus de 10000 coupons!");
    QTest::newRow("overlap at the end")
        << QStringList{"B", "2", "", "", "", "", "25", "30", "0", "0"}
        << QString::fromUtf8("Les coupons 25 à 30 chevauchent ceux de Aquaflore (1 à 25)!");
    QTest::newRow("range around another")
        << QStringList{"B", "2", "", "", "", "", "1", "100", "0", "0"}
        << QString::fromUtf8("Les coupons 1 à 100 chevauchent ceux de Aquaflore (1 à 25)!");
  }
  void refused() {
    QFETCH(QStringList, seller);
    QFETCH(QString, message);
    testing::Harness h;
    auto w = withAquaflore();
    const QByteArray list = h.read(SellerListFile);
    const QByteArray map = h.read(CouponMapFile);
    testing::typeSeller(*w.get(), seller);
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList({message}));
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
    QCOMPARE(testing::listRows(*w->ListeVendeurs(), '|'), QStringList({"1|25|Aquaflore|1"}));
    QCOMPARE(testing::fieldTexts(*w.get()), seller);  // left for the user to correct
  }

  // The editor, open beside the creation window, saves a change: each
  // "Ajouter" checks the typed seller against the seller list as it is on
  // disk then, not only against the rows this window listed.
  void ajouterChecksTheListOnDisk_data() {
    QTest::addColumn<QString>("edit");  // what the editor saves
    QTest::addColumn<QStringList>("seller");
    QTest::addColumn<QString>("message");
    QTest::newRow("code of a seller the editor added")
        << "add" << QStringList{"B", "2", "", "", "", "", "100", "110", "0", "0"}
        << QString::fromUtf8("Le code vendeur 2 est déjà attribué à Plantes!");
    QTest::newRow("range of a seller the editor added")
        << "add" << QStringList{"B", "3", "", "", "", "", "30", "60", "0", "0"}
        << QString::fromUtf8("Les coupons 30 à 60 chevauchent ceux de Plantes (26 à 40)!");
    QTest::newRow("range the editor widened")
        << "widen" << QStringList{"B", "2", "", "", "", "", "26", "30", "0", "0"}
        << QString::fromUtf8("Les coupons 26 à 30 chevauchent ceux de Aquaflore (1 à 50)!");
  }
  void ajouterChecksTheListOnDisk() {
    QFETCH(QString, edit);
    QFETCH(QStringList, seller);
    QFETCH(QString, message);
    testing::Harness h;
    auto w = withAquaflore();
    auto editor = tk::Ref<editwin>();
    QVERIFY(w.IsOpen() && editor.IsOpen());
    if (edit == "add") {
      editor->nouveau()->click();
      testing::typeSeller(*editor.get(), {"Plantes", "2", "", "", "", "", "26", "40", "0", "0"});
      editor->ajouter()->click();
    } else {
      editor->ListeVendeurs2()->SetListIndex(0);
      editor->Selectioner()->click();
      editor->CouponStop()->SetText("50");
      editor->modifier()->click();
    }
    editor->EnretQuit()->click();
    QVERIFY(!editor.IsOpen());
    const QStringList opened = edit == "add" ? QStringList({NewSellerMessage}) : QStringList();
    QCOMPARE(h.dialogs().texts(), opened);
    const QByteArray list = h.read(SellerListFile);
    const QByteArray map = h.read(CouponMapFile);

    testing::typeSeller(*w.get(), seller);
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), opened + QStringList{message});
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
    QCOMPARE(testing::listRows(*w->ListeVendeurs(), '|'), QStringList({"1|25|Aquaflore|1"}));
  }

  void appendThatFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::newRow("coupon map full") << CouponMapFile << int(WriteFails);
    QTest::newRow("seller list full") << SellerListFile << int(WriteFails);
    QTest::newRow("coupon map is a link to the full device") << CouponMapFile << int(LinkToFullDevice);
    QTest::newRow("seller list is a link to the full device") << SellerListFile << int(LinkToFullDevice);
    QTest::newRow("coupon map is a folder") << CouponMapFile << int(Folder);
    QTest::newRow("seller list is a folder") << SellerListFile << int(Folder);
  }
  void appendThatFails() {
    QFETCH(QString, file);
    QFETCH(int, fault);
    testing::Harness h;
    auto w = withAquaflore();
    const QByteArray list = h.read(SellerListFile);
    const QByteArray map = h.read(CouponMapFile);
    if (fault != WriteFails) QVERIFY(QFile::remove(h.path(file)));
    if (fault == LinkToFullDevice) QVERIFY(QFile::link("/dev/full", h.path(file)));
    if (fault == Folder) QVERIFY(QDir(h.folder()).mkdir(file));
    // The seller list is appended to first, then the coupon map.
    testing::ChangeSteps steps(storage::ChangeStep::ChangeFile, file == SellerListFile ? 0 : 1,
                               fault == WriteFails ? storage::StepAnswer::Fail : storage::StepAnswer::Go);

    const QStringList seller{"Plantes", "2", "Rue 2", "", "2000", "Bourg", "26", "5000", "1", "0"};
    testing::typeSeller(*w.get(), seller);
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList({ProblemCreating}));
    // The other file is as it was: no seller line without its coupons, and no coupons without their seller.
    if (file != SellerListFile) QCOMPARE(h.read(SellerListFile), list);
    if (file != CouponMapFile) QCOMPARE(h.read(CouponMapFile), map);
    QCOMPARE(testing::listRows(*w->ListeVendeurs(), '|'), QStringList({"1|25|Aquaflore|1"}));
    QCOMPARE(testing::fieldTexts(*w.get()), seller);
  }

  // Files that could not be emptied leave the way in open for another try.
  void deskButtonStaysWhenTheResetFails() {
    testing::Harness h;
    QDir(h.folder()).mkdir(CouponMapFile);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    h.dialogs().answer(tk::DialogAnswer::Action);
    desk->PushButton5()->click();
    QCOMPARE(h.dialogs().texts().last(), QString::fromUtf8("Impossible de remettre à zéro les fichiers vendeurs!"));
    QVERIFY(!desk->PushButton5()->isHidden());
    QCOMPARE(tk::OpenWindows().size(), std::size_t(1));  // the desk alone
    QVERIFY(QDir(h.folder()).rmdir(CouponMapFile));
    h.dialogs().answer(tk::DialogAnswer::Action);
    desk->PushButton5()->click();
    QVERIFY(desk->PushButton5()->isHidden());
    QVERIFY(tk::Ref<VendorFiles>()->isVisible());
  }

  void deskWarning_data() {
    QTest::addColumn<tk::DialogAnswer>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Continuer") << tk::DialogAnswer::Action << true;
    QTest::newRow("Annuler") << tk::DialogAnswer::Cancel << false;
    QTest::newRow("closed another way") << tk::DialogAnswer::Other << false;
  }
  void deskWarning() {
    QFETCH(tk::DialogAnswer, answer);
    QFETCH(bool, opens);
    testing::Harness h;
    const QByteArray list = "Aquaflore,3,Rue 1,,1000,Ville,1,3,2,0\n";
    const QByteArray map = "1,Aquaflore,3\n2,Aquaflore,3\n3,Aquaflore,3\n";
    h.write(SellerListFile, list);
    h.write(CouponMapFile, map);
    auto desk = testing::OpenDesk(h);
    const int before = h.dialogs().shown().size();
    h.dialogs().answer(answer);
    desk->PushButton5()->click();

    QCOMPARE(h.dialogs().shown().size(), before + 1);
    const tk::MessageDialog& d = h.dialogs().shown().last().dialog;
    QVERIFY(h.dialogs().shown().last().isDialog);
    QCOMPARE(d.Icon, int(tk::MessageDialog::Caution));
    QCOMPARE(d.Title, QString::fromUtf8("Attention! Cette fonction est en principe à n'utiliser qu'en début de Bourse! "));
    QCOMPARE(d.Message, QString::fromUtf8("Vous allez mettre à zéro les fichiers ListeVendeurs.csv et couponsvendeurs.csv "));
    QCOMPARE(d.Explanation, QString("Si ce n'est pas ce que vous voulez faire pressez \"Annuler\"."));
    QCOMPARE(d.ActionButton.Caption, QString("Continuer"));
    QVERIFY(d.ActionButton.Visible);
    QCOMPARE(d.CancelButton.Caption, QString("Annuler"));
    QVERIFY(d.CancelButton.Visible);
    QVERIFY(d.CancelButton.Cancel);
    QVERIFY(!d.AlternateActionButton.Visible);

    auto open = tk::OpenWindows();
    const bool creationOpen =
        std::any_of(open.begin(), open.end(), [](tk::Window* w) { return qobject_cast<VendorFiles*>(w); });
    QCOMPARE(creationOpen, opens);
    QCOMPARE(desk->PushButton5()->isHidden(), opens);
    QVERIFY(desk->PushButton5()->isEnabled());
    if (opens) {
      QVERIFY(tk::Ref<VendorFiles>()->isVisible());
      QCOMPARE(h.read(SellerListFile), QByteArray());
      QCOMPARE(h.read(CouponMapFile), QByteArray());
    } else {
      QCOMPARE(h.read(SellerListFile), list);
      QCOMPARE(h.read(CouponMapFile), map);
      // The warning comes again at the next click.
      h.dialogs().answer(tk::DialogAnswer::Cancel);
      desk->PushButton5()->click();
      QCOMPARE(h.dialogs().shown().size(), before + 2);
    }
  }
};

QTEST_MAIN(TestVendorFiles)
#include "tst_vendorfiles.moc"
