#include <QApplication>
#include <QGuiApplication>
#include <QTest>

#include "desk/window1.h"
#include "support/describe.h"
#include "support/desk.h"
#include "support/harness.h"
#include "toolkit/window.h"
#include "ui/menubar1.h"

class TestWindow1 : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"EntryCoupon", "TextField 41,195 70x47 centre focus=tab"},
        {"ValeurCoupon", "TextField 129,195 79x47 format=-####.00 right focus=tab"},
        {"ReferenceBox", "Listbox 358,64 352x375 cols=4:20%,20%,60%,0% focus=click"},
        {"ListCachee", "Listbox 500,64 210x373 cols=2: hidden focus=click"},
        {"StaticText1", "Label 51,167 60x50 \"N° de Coupon\" wrap small focus=none"},
        {"StaticText2", "Label 134,167 87x37 \"Montant\" small focus=none"},
        {"StaticText3", "Label 42,110 277x40 \"Saisie des coupons\" pt=20 focus=none"},
        {"StaticText4", "Label 365,19 274x17 \"Coupons déjà saisis\" bold italic underline small focus=none"},
        // Empty in the design; the opening shows the turnover 0 before its dialog.
        {"ShowTotal", "TextField 181,279 125x36 \"0.00\" readonly format=-####.00 right bold focus=click"},
        {"StaticText5", "Label 51,279 111x31 \"Chiffre d'affaire:\" focus=none"},
        {"Canvas1", "Canvas 13,14 109x74 picture focus=none"},
        {"StaticText6", "Label 66,327 96x31 \"Commissions:\" focus=none"},
        {"ShowComm", "TextField 181,326 125x34 readonly format=-####.00 right bold focus=click"},
        {"PushButton3", "PushButton 391,451 274x38 \"Voir la feuille d'un vendeur particulier\" small focus=click"},
        {"PushButton4", "PushButton 631,14 69x37 \"Info\" bold italic small focus=click"},
        {"PushButton5", "PushButton 96,451 240x47 \"Gestion des vendeurs et coupons\" small focus=click"},
        {"BevelButton1", "BevelButton 233,195 86x26 \"Ajouter\" color=#47b71c focus=tab"},
        {"BevelButton2", "BevelButton 66,364 79x20 \"Vériifer/Modifier\" color=#eb7111 pt=8 focus=none"},
        {"StaticText7", "Label 358,43 274x17 \"Coupon        Valeur                Vendeur \" small focus=none"},
        {"BevelButton3", "BevelButton 233,233 86x29 \"Effacer\" color=#eb1010 focus=none"},
        {"BevelButton4", "BevelButton 553,14 66x28 \"Utilitaires\" focus=none"},
        {"fromat", "TextField 182,66 73x33 format=-####.00 hidden focus=click"},
        {"BevelButton5", "BevelButton 20,451 55x47 \"Quitter\" bold focus=none"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    auto w = testing::OpenDesk(h);
    QWidget* c = w->Control(name);
    QVERIFY(c);
    QCOMPARE(c->objectName(), name);
    QCOMPARE(testing::describe(c), design);
  }

  void window() {
    testing::Harness h;
    auto w = testing::OpenDesk(h);
    QCOMPARE(w->objectName(), QString("Window1"));
    QCOMPARE(w->windowTitle(), QString("Gestion de la Bourse OVK"));
    QCOMPARE(w->size(), QSize(720, 518));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QCOMPARE(w->Controls().size(), std::size_t(23));
    // Controls stand in design order, and the accessors give them.
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->EntryCoupon()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->BevelButton5()));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((w->geometry().center() - screen.center()).manhattanLength() <= 2);
    QCOMPARE(w->MenuBar(), &MenuBar1::Instance());
    QVERIFY(!w->MenuBar()->isVisible());
    QCOMPARE(w->FileQuit()->text(), QString("&Quit"));
    QVERIFY(w->ReferenceBox()->isColumnHidden(3));
    for (tk::PushButton* b : {w->PushButton3(), w->PushButton4(), w->PushButton5()})
      QVERIFY(!b->isDefault() && !b->autoDefault());
    testing::snapshot(w.get(), "Window1");
  }

  void tabGoesRoundTheEntryFields() {
    testing::Harness h;
    auto w = testing::OpenDesk(h);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->EntryCoupon()->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
      order << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"EntryCoupon", "ValeurCoupon", "BevelButton1", "EntryCoupon"}));
  }
};

QTEST_MAIN(TestWindow1)
#include "tst_window1.moc"
