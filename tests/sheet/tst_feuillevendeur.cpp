#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "sheet/sheetwindows.h"
#include "support/bookings.h"
#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/text.h"

namespace {

// Coupons as the desk books them, and lines it never writes itself.
const QByteArray Sales =
    "100,12.50\n"
    "9, 3 \n"
    "10,abc\n"
    " 12.5,1\n"
    "12,2,50\n"
    "7\n";

// The current seller as the picker leaves it for seller 3, at 10 %.
void chooseSellerThree() {
  testing::SetCurrentSeller("Aquaflore|3|Rue 1|1000|Ville|2|1|3");
  Module1::ovktaux = 0.1;
}

// The six account fields as shown: locbac, locramp, fraise, TotalBrut, Kommision, TotalNet.
QStringList account(const FeuilleVendeur& w) {
  return {w.locbac()->Text(),    w.locramp()->Text(),   w.fraise()->Text(),
          w.TotalBrut()->Text(), w.Kommision()->Text(), w.TotalNet()->Text()};
}

QString keptSeller(const FeuilleVendeur& w) {
  const SellerRecord& s = w.Seller();
  return QStringList({s[SellerRecord::Code], s[SellerRecord::Address], s[SellerRecord::PostalCode],
                      s[SellerRecord::Town], s[SellerRecord::Tanks], s[SellerRecord::LedRamps]})
      .join('|');
}

// Replaces a field's text by typing, as the user would.
void retype(tk::TextField* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
}

}  // namespace

class TestFeuilleVendeur : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"CouponsVendeur", "Listbox 290,60 191x496 cols=2: grid small focus=click"},
        {"StaticText1", "Label 290,7 200x21 \"Liste des coupons encaissés\" small focus=none"},
        {"TotalBrut", "TextField 152,261 84x50 readonly format=-####.00 right small focus=click"},
        {"Kommision", "TextField 152,327 84x42 readonly format=-####.00 right small focus=click"},
        {"TotalNet", "TextField 152,457 84x41 readonly format=-####.00 right small focus=click"},
        {"StaticText2", "Label 79,274 61x17 \"Total brut:\" small focus=none"},
        {"StaticText3", "Label 64,339 77x16 \"Commission:\" small focus=none"},
        {"StaticText4", "Label 86,465 91x19 \"Total final:\" small focus=none"},
        {"EcceHomo", "TextField 34,60 156x40 readonly small focus=click"},
        {"StaticText5", "Label 40,44 150x13 \"Vendeur:\" small focus=none"},
        {"StaticText6", "Label 297,36 177x21 \"n° coupon             valeur\" small focus=none"},
        {"BevelButton1", "BevelButton 34,523 93x30 \"Fermer\" small focus=tab"},
        {"locbac", "TextField 152,171 84x38 centre small focus=click"},
        {"locramp", "TextField 153,213 84x49 centre small focus=click"},
        {"fraise", "TextField 153,389 84x44 format=-####.00 right small focus=click"},
        {"StaticText7", "Label 40,172 112x17 \"Location de bacs:\" small focus=none"},
        {"StaticText8", "Label 40,222 112x17 \"Location de LEDs:\" small focus=none"},
        {"StaticText9", "Label 48,403 99x17 \"Frais (locations):\" small focus=none"},
        {"BevelButton2", "BevelButton 153,523 93x30 \"Imprimer\" small focus=tab"},
        {"TA1", "TextField 34,119 76x38 hidden small focus=click"},
        {"TA2", "TextField 131,119 93x40 hidden small focus=click"},
        {"fromat", "TextField 201,61 73x39 format=-####.00 hidden small focus=click"},
    });
  }
  // As the design leaves them: a seller without a sales file keeps the
  // fields empty (the sheet is built, then closes itself).
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    auto w = tk::Ref<FeuilleVendeur>();
    QCOMPARE(testing::describeControl(w.get(), name), design);
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NothingSold});
  }

  void window() {
    testing::Harness h;
    chooseSellerThree();
    h.write(SellerSalesFile(3), Sales);
    auto w = tk::Ref<FeuilleVendeur>();
    QCOMPARE(w->objectName(), QString("FeuilleVendeur"));
    QCOMPARE(w->windowTitle(), QString("Feuille Vendeur"));
    QCOMPARE(w->size(), QSize(501, 597));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    QCOMPARE(w->Controls().size(), std::size_t(22));
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->CouponsVendeur()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->fromat()));
    QCOMPARE(testing::tabWalk(w->BevelButton1(), 3), QStringList({"BevelButton1", "BevelButton2", "BevelButton1"}));
    testing::snapshot(w.get(), "FeuilleVendeur");
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // The coupons in number order (equal numbers in file order), the amounts
  // formatted, and the account from the amounts as the file holds them.
  void builtFromTheSalesFile() {
    testing::Harness h;
    chooseSellerThree();
    h.write(SellerSalesFile(3), Sales);
    auto w = tk::Ref<FeuilleVendeur>();
    QCOMPARE(w->EcceHomo()->Text(), QString("Aquaflore"));
    QCOMPARE(testing::Rows(*w->CouponsVendeur()),
             QStringList({"7|", "9|3.00", "10|0.00", "12.5|1.00", "12|2.00", "100|12.50"}));
    // Gross 18.5; commission 0.1 × 18.5 to 0.05 = 1.85; fees 2 × 5 + 1 × 5.
    QCOMPARE(account(*w.get()), QStringList({"2", "1", "15.00", "18.50", "1.85", "1.65"}));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void emptySalesFile() {
    testing::Harness h;
    chooseSellerThree();
    h.write(SellerSalesFile(3), QByteArray());
    auto w = tk::Ref<FeuilleVendeur>();
    QVERIFY(w.IsOpen());
    QCOMPARE(w->CouponsVendeur()->ListCount(), 0);
    QCOMPARE(account(*w.get()), QStringList({"2", "1", "15.00", "0.00", "0.00", "-15.00"}));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // A seller who sold nothing: the message, no sheet left open, and the
  // picker that asked for it closes all the same.
  void sellerWithoutSalesFile() {
    testing::Harness h;
    h.write(SellerListFile, "Aquaflore,3,Rue 1,,1000,Ville,1,25,2,1\n");
    testing::chooseSeller(0);
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NothingSold});
    QVERIFY(tk::OpenWindows().empty());
    QCOMPARE(Module1::FindVendor, std::int64_t(3));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Once coupons are booked, the next choice builds the sheet.
    h.write(SellerSalesFile(3), "5,1\n");
    testing::chooseSeller(0);
    QVERIFY(testing::openWindowOf<FeuilleVendeur>());
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NothingSold});
  }

  // An open sheet keeps the seller it was built for: another choice, a
  // click without a choice or the desk's removal change only the current
  // seller.
  void sheetKeepsItsSeller() {
    testing::Harness h;
    h.write(SellerListFile,
            "Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,25,2,1\n"
            "Plantes,2,Quai 4,,3000,Bourg,26,40,0,0\n");
    h.write(SellerSalesFile(1), "3,10\n");
    h.write(SellerSalesFile(2), "30,20\n");
    Module1::ovktaux = 0.1;
    testing::chooseSeller(0);
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    QVERIFY(sheet);
    const QString first = "1|Rue 1|1000|Ville|2|1";
    QCOMPARE(keptSeller(*sheet), first);

    testing::chooseSeller(1);
    QCOMPARE(testing::openWindowOf<FeuilleVendeur>(), sheet);
    QVERIFY(!testing::openWindowOf<SelectVendor>());
    QCOMPARE(Module1::vc2, QString("2"));
    QCOMPARE(keptSeller(*sheet), first);
    QCOMPARE(sheet->EcceHomo()->Text(), QString("Aquaflore"));
    QCOMPARE(testing::Rows(*sheet->CouponsVendeur()), QStringList{"3|10.00"});

    testing::chooseSeller(-1);
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NoSelection});
    testing::openWindowOf<SelectVendor>()->BevelButton2()->click();
    Module1::vc2 = "7";
    QCOMPARE(Module1::adresse2, QString());
    QCOMPARE(keptSeller(*sheet), first);
    QCOMPARE(account(*sheet), QStringList({"2", "1", "15.00", "10.00", "1.00", "-6.00"}));
  }

  // Fees typed by hand: the net follows them. Rental counts typed: fees and
  // net are worked out again from both counts.
  void netFollowsTheFees() {
    testing::Harness h;
    chooseSellerThree();
    h.write(SellerSalesFile(3), "1,100\n2,23.45\n");  // gross 123.45, commission 12.35
    auto w = tk::Ref<FeuilleVendeur>();
    QCOMPARE(account(*w.get()), QStringList({"2", "1", "15.00", "123.45", "12.35", "96.10"}));

    retype(w->fraise(), "12,5");
    QCOMPARE(account(*w.get()), QStringList({"2", "1", "12.50", "123.45", "12.35", "98.60"}));
    retype(w->fraise(), "");
    QCOMPARE(account(*w.get()), QStringList({"2", "1", "", "123.45", "12.35", "111.10"}));

    retype(w->locbac(), "1");
    QCOMPARE(account(*w.get()), QStringList({"1", "1", "10.00", "123.45", "12.35", "101.10"}));
    retype(w->locramp(), "0.5");
    QCOMPARE(account(*w.get()), QStringList({"1", "0.5", "7.50", "123.45", "12.35", "103.60"}));
    retype(w->locramp(), "deux");
    QCOMPARE(account(*w.get()), QStringList({"1", "deux", "5.00", "123.45", "12.35", "106.10"}));

    // The rate and the seller's rentals as they stand now are not looked at.
    Module1::ovktaux = 0.5;
    Module1::bacs2 = "9";
    retype(w->fraise(), "1");
    QCOMPARE(account(*w.get()), QStringList({"1", "deux", "1.00", "123.45", "12.35", "110.10"}));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void closeThenBuildAnew() {
    testing::Harness h;
    chooseSellerThree();
    h.write(SellerSalesFile(3), "1,5\n");
    auto first = tk::Ref<FeuilleVendeur>();
    first->BevelButton1()->click();
    QVERIFY(!first.IsOpen());
    QVERIFY(tk::OpenWindows().empty());
    h.write(SellerSalesFile(3), "1,5\n2,5\n");
    auto second = tk::Ref<FeuilleVendeur>();
    QCOMPARE(second->CouponsVendeur()->ListCount(), 2);
    QVERIFY(h.dialogs().shown().isEmpty());
  }
};

QTEST_MAIN(TestFeuilleVendeur)
#include "tst_feuillevendeur.moc"
