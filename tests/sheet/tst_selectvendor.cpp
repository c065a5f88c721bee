#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTest>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "sheet/sheetwindows.h"
#include "support/describe.h"
#include "support/bookings.h"
#include "support/desk.h"
#include "support/harness.h"

namespace {

const QByteArray TwoSellers =
    "Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,25,2,1\n"
    "Plantes,2,Quai 4,,3000,Bourg,26,40,0,0\n";

}  // namespace

class TestSelectVendor : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"ListVendeurs", "Listbox 20,14 287x286 cols=10:100%,0%,0%,0%,0%,0%,0%,0%,0% drag focus=tab"},
        {"BevelButton1", "BevelButton 20,307 283x25 \"Sélectionner et cliquer ici!\" bold italic small focus=tab"},
        {"BevelButton2", "BevelButton 234,336 66x30 \"Fermer\" small focus=tab"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    h.write(SellerListFile, QByteArray());
    auto w = tk::Ref<SelectVendor>();
    QCOMPARE(testing::describeControl(w.get(), name), design);
  }

  // Only the names show; the nine other fields are kept in hidden columns.
  void window() {
    testing::Harness h;
    h.write(SellerListFile, TwoSellers);
    auto w = tk::Ref<SelectVendor>();
    QCOMPARE(w->objectName(), QString("SelectVendor"));
    QCOMPARE(w->windowTitle(), QString("Sélection du vendeur"));
    QCOMPARE(w->size(), QSize(320, 376));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QCOMPARE(w->Controls().size(), std::size_t(3));
    tk::Listbox* list = w->ListVendeurs();
    QCOMPARE(list->columnWidth(0), list->viewport()->width());
    for (int c = 1; c < 10; ++c) QVERIFY2(list->isColumnHidden(c), qPrintable(QString::number(c)));
    QCOMPARE(testing::Rows(*list), QStringList({"Aquaflore|1|Rue 1|a@x.ch|1000|Ville|1|25|2|1",
                                                  "Plantes|2|Quai 4||3000|Bourg|26|40|0|0"}));
    QCOMPARE(testing::tabWalk(list, 4), QStringList({"ListVendeurs", "BevelButton1", "BevelButton2", "ListVendeurs"}));
    list->SetListIndex(1);
    testing::snapshot(w.get(), "SelectVendor");
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // A seller-list line → the current seller it gives when chosen (the row
  // after a first seller, so the selected row is the one copied).
  void selection_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("seller");
    QTest::newRow("ten fields") << QByteArray("Aquaflore,12,Rue 1,a@x.ch,1000,Ville,1,25,2,1")
                                << "Aquaflore|12|Rue 1|1000|Ville|2|1|12";
    QTest::newRow("blanks around the fields")
        << QByteArray(" Aquaflore , 12 , Rue 1 ,a@x.ch, 1000 , Ville ,1,25, 2 , 1 ")
        << "Aquaflore|12|Rue 1|1000|Ville|2|1|12";
    QTest::newRow("code 7.9") << QByteArray("Plantes,7.9,,,,,1,2,0,0") << "Plantes|7.9||||0|0|7";
    QTest::newRow("code that is no number") << QByteArray("Plantes,Nord,,,,,1,2,0,0") << "Plantes|Nord||||0|0|0";
    QTest::newRow("same name as the first") << QByteArray("Premier,5,Rue 5,,5000,Cinq,1,2,1,0")
                                            << "Premier|5|Rue 5|5000|Cinq|1|0|5";
    QTest::newRow("eleven fields: a comma in the name") << QByteArray("Aqua, Nord,9,Rue 9,a@x,1000,Ville,1,2,3,4")
                                                        << "Aqua|Nord|9|a@x|1000|2|3|0";
    QTest::newRow("nine fields") << QByteArray("Court,4,Rue 4,,4000,Quatre,1,5,2") << "Court|4|Rue 4|4000|Quatre|2||4";
    QTest::newRow("empty line") << QByteArray("") << "|||||||0";
  }
  void selection() {
    QFETCH(QByteArray, line);
    QFETCH(QString, seller);
    testing::Harness h;
    h.write(SellerListFile, "Premier,1,Rue 0,p@x,2000,Bourg,1,10,0,0\n" + line + "\n");
    const QString name = seller.section('|', 0, 0);
    h.write(SellerSalesFile(seller.section('|', 7).toLongLong()), "1,2.5\n");
    Module1::SonNom = "before";
    testing::chooseSeller(1);
    QCOMPARE(testing::CurrentSellerLine(), seller);
    QVERIFY(!testing::openWindowOf<SelectVendor>());
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    QVERIFY(sheet);
    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->EcceHomo()->Text(), name);
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // Nothing selected: the message, the picker stays, and the previous
  // choice is gone but for the name.
  void nothingSelected_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::newRow("sellers listed") << TwoSellers;
    QTest::newRow("empty seller list") << QByteArray();
  }
  void nothingSelected() {
    QFETCH(QByteArray, list);
    testing::Harness h;
    h.write(SellerListFile, list);
    testing::SetCurrentSeller("Ancien|9|Rue 9|9000|Neuf|1|1|9");
    testing::chooseSeller(-1);
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NoSelection});
    QCOMPARE(testing::CurrentSellerLine(), QString("Ancien|||||||0"));
    QVERIFY(testing::openWindowOf<SelectVendor>());
    QVERIFY(!testing::openWindowOf<FeuilleVendeur>());
  }

  void closeLeavesTheCurrentSeller() {
    testing::Harness h;
    h.write(SellerListFile, TwoSellers);
    Module1::vc2 = "9";
    Module1::FindVendor = 9;
    auto w = tk::Ref<SelectVendor>();
    w->ListVendeurs()->SetListIndex(0);
    w->BevelButton2()->click();
    QVERIFY(!w.IsOpen());
    QCOMPARE(testing::CurrentSellerLine(), QString("|9||||||9"));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // From the desk: the picker beside it; while open, the same picker again,
  // its list not read again; a choice shows the sheet and closes the picker.
  void deskButtonShowsThePicker() {
    testing::Harness h;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    h.write(SellerListFile, TwoSellers);
    h.write(SellerSalesFile(2), "26,4\n");
    desk->PushButton3()->click();
    SelectVendor* picker = testing::openWindowOf<SelectVendor>();
    QVERIFY(picker);
    QVERIFY(picker->isVisible() && !picker->isModal());
    h.write(SellerListFile, "Autre,3,,,,,1,2,0,0\n");
    desk->PushButton3()->click();
    QCOMPARE(testing::openWindowOf<SelectVendor>(), picker);
    QCOMPARE(picker->ListVendeurs()->ListCount(), 2);
    testing::chooseSeller(1);
    QVERIFY(!testing::openWindowOf<SelectVendor>());
    FeuilleVendeur* sheet = testing::openWindowOf<FeuilleVendeur>();
    QVERIFY(sheet);
    QCOMPARE(sheet->EcceHomo()->Text(), QString("Plantes"));
    QVERIFY(desk.IsOpen());
    // After it closed, the next click builds a picker on the list as it now is.
    desk->PushButton3()->click();
    QCOMPARE(testing::Rows(*testing::openWindowOf<SelectVendor>()->ListVendeurs()),
             QStringList({"Autre|3|||||1|2|0|0"}));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  // The list cannot be read: the message, and the picker, closed during its
  // own opening, is not shown by the desk's Show that follows.
  void missingSellerList_data() {
    QTest::addColumn<bool>("folder");
    QTest::newRow("no seller list") << false;
    QTest::newRow("a folder in its place") << true;
  }
  void missingSellerList() {
    QFETCH(bool, folder);
    testing::Harness h;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    if (folder) QVERIFY(QDir(h.folder()).mkdir(SellerListFile));
    desk->PushButton3()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NoSellerList});
    QVERIFY(!testing::openWindowOf<SelectVendor>());
    QCOMPARE(tk::OpenWindows(), std::vector<tk::Window*>{desk.get()});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The program goes on: a list written meanwhile is read at the next click.
    if (folder) QVERIFY(QDir(h.folder()).rmdir(SellerListFile));
    h.write(SellerListFile, TwoSellers);
    desk->PushButton3()->click();
    QVERIFY(testing::openWindowOf<SelectVendor>());
    QCOMPARE(h.dialogs().texts(), QStringList{testing::NoSellerList});
  }
};

QTEST_MAIN(TestSelectVendor)
#include "tst_selectvendor.moc"
