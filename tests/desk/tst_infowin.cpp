#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTest>

#include "app/corvalenta.h"
#include "desk/infowin.h"
#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/window.h"
#include "ui/pictures.h"

namespace {
// Every control's design line, in design order.
QStringList designOf(const InfoWin& w) {
  QStringList out;
  for (const QWidget* c : w.Controls()) out << c->objectName() + ": " + testing::describe(c);
  return out;
}
}  // namespace

class TestInfoWin : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"StaticText1", "Label 82,46 304x52 \"Corvalenta\" centre pt=30 face=Arial Black focus=none"},
        {"Canvas1", "Canvas 178,126 99x92 picture focus=none"},
        {"StaticText2",
         "Label 72,230 334x59 \"Programme pour la gestion de la Bourse aux poissons et aux plantes de l'OVK\" "
         "wrap centre bold italic pt=15 focus=none"},
        {"StaticText3",
         "Label 101,313 266x26 \"Réalisé pour le club OVK par ses bénévoles\" selectable centre italic pt=10 "
         "focus=click"},
        {"StaticText4", "Label 151,362 63x26 \"Version \" bold small focus=none"},
        {"vversion", "TextField 218,362 162x28 \"0.9.12 (Linux)\" readonly noborder bold pt=15 focus=click"},
        {"BevelButton1", "BevelButton 392,384 66x30 \"Fermer\" small focus=tab"},
        {"StaticText5", "Label 101,330 266x26 \"Logiciel libre, licence MIT\" centre italic pt=10 focus=none"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    QCOMPARE(testing::describeControl(tk::Ref<InfoWin>().get(), name), design);
  }

  void window() {
    testing::Harness h;
    auto w = tk::Ref<InfoWin>();
    QCOMPARE(w->objectName(), QString("InfoWin"));
    QCOMPARE(w->windowTitle(), QString("Corvalenta Info"));
    QCOMPARE(w->size(), QSize(469, 434));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    QVERIFY(w->autoFillBackground());
    QCOMPARE(w->palette().color(QPalette::Window), QColor(245, 243, 243));
    QCOMPARE(w->Controls().size(), std::size_t(8));
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->StaticText1()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->StaticText5()));
    QCOMPARE(w->StaticText1()->palette().color(QPalette::WindowText), QColor(36, 24, 24));
    for (tk::Label* l : {w->StaticText2(), w->StaticText3(), w->StaticText4(), w->StaticText5()})
      QCOMPARE(l->palette().color(QPalette::WindowText), QColor(Qt::black));
    // Only the attribution line is drawn on a background of its own.
    QVERIFY(w->StaticText3()->autoFillBackground());
    for (tk::Label* l : {w->StaticText1(), w->StaticText2(), w->StaticText4(), w->StaticText5()})
      QVERIFY(!l->autoFillBackground());
    QCOMPARE(w->Canvas1()->Backdrop(), ovkmoyen());
    QVERIFY(!w->Canvas1()->Backdrop().isNull());
    testing::snapshot(w.get(), "InfoWin");
  }

  // The version is the window's own text, whatever the application object says.
  void versionIgnoresTheApplicationsVersionData() {
    testing::Harness h;
    Corvalenta app;
    app._x_SetVersionData(0, 9, 3, 0, 2, QString(), QString(), QString());
    tk::RegisterApplication(&app);
    auto w = tk::Ref<InfoWin>();
    QCOMPARE(w->vversion()->Text(), QString("0.9.12 (Linux)"));
    QCOMPARE(w->StaticText4()->Text(), QString("Version "));
    tk::CloseAllWindows();
    tk::RegisterApplication(nullptr);
  }

  // The key handler claims no key, so the label still selects and copies.
  void attributionKeysAreLeftToTheLabel() {
    testing::Harness h;
    auto w = tk::Ref<InfoWin>();
    QVERIFY(w->StaticText3()->KeyDown);
    for (const QString& key : {QString("a"), QString("\r"), QString(), QString("é")}) {
      QVERIFY(!w->StaticText3_KeyDown(key));
      QVERIFY(!w->StaticText3()->KeyDown(key));
    }
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->StaticText3()->setFocus();
    w->StaticText3()->setSelection(0, 7);
    QApplication::clipboard()->clear();
    QTest::keyClick(w->StaticText3(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("Réalisé"));
  }

  void fermerThenAFreshWindow() {
    testing::Harness h;
    auto first = tk::Ref<InfoWin>();
    const QStringList before = designOf(*first.get());
    QPointer<InfoWin> old = first.get();
    first->BevelButton1()->click();
    QVERIFY(!first.IsOpen());
    QVERIFY(tk::OpenWindows().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());

    auto second = tk::Ref<InfoWin>();
    QVERIFY(second.IsOpen());
    QVERIFY(second->isVisible());
    QCOMPARE(designOf(*second.get()), before);
    QCOMPARE(second->Canvas1()->Backdrop(), ovkmoyen());
  }
};

QTEST_MAIN(TestInfoWin)
#include "tst_infowin.moc"
