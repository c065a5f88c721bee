#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/module1.h"
#include "desk/chgmenttaux.h"
#include "desk/infowin.h"
#include "support/desk.h"
#include "support/harness.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

const QString RateWarning = QString::fromUtf8(
    "Vous allez modifier définitivement le taux de commission utilisé par Corvalenta!\n"
    "Si ce n'est pas ce que vous voulez faire cliquez sur \"Abandonner\".");

template <class W>
W* openWindowOf() {
  for (tk::Window* w : tk::OpenWindows())
    if (auto* found = qobject_cast<W*>(w)) return found;
  return nullptr;
}

// Runs `step` on the rate window once its modal loop runs. Should the step
// leave it open, the watchdog closes it, so the test fails instead of hanging.
void inRateWindow(QObject* context, std::function<void(ChgmentTaux&)> step) {
  QTimer::singleShot(0, context, [step] {
    ChgmentTaux* w = openWindowOf<ChgmentTaux>();
    QVERIFY2(w, "the rate window is not open");
    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(w));
    step(*w);
  });
  QTimer::singleShot(5000, context, [] {
    if (ChgmentTaux* w = openWindowOf<ChgmentTaux>()) {
      QTest::qFail("the rate window was left open", __FILE__, __LINE__);
      w->Close();
    }
  });
}

// The desk with a rate of 0.2 in force and in its file, and nothing shown yet.
tk::Handle<Window1> deskAtTwentyPercent(testing::Harness& h) {
  h.write("ValComm.txt", "0.2\n");
  auto desk = testing::OpenDesk(h);
  Module1::ovktaux = 0.2;
  h.dialogs().clear();
  return desk;
}

}  // namespace

class TestDeskNavigation : public QObject {
  Q_OBJECT
 private slots:
  void infoShowsTheAboutWindowBesideTheDesk() {
    testing::Harness h;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    desk->PushButton4()->click();
    InfoWin* info = openWindowOf<InfoWin>();
    QVERIFY(info);
    QVERIFY(info->isVisible());
    QVERIFY(!info->isModal());
    QVERIFY(desk.IsOpen());
    QCOMPARE(info->vversion()->Text(), QString("0.9.12 (Linux)"));

    // While open, "Info" brings the same window back without opening it again.
    info->vversion()->SetText("changed");
    desk->PushButton4()->click();
    QCOMPARE(openWindowOf<InfoWin>(), info);
    QCOMPARE(info->vversion()->Text(), QString("changed"));

    // After "Fermer" the next "Info" builds a new one.
    info->BevelButton1()->click();
    QVERIFY(!openWindowOf<InfoWin>());
    desk->PushButton4()->click();
    InfoWin* fresh = openWindowOf<InfoWin>();
    QVERIFY(fresh);
    QCOMPARE(fresh->vversion()->Text(), QString("0.9.12 (Linux)"));
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void rateChangeWarnsThenWaitsForTheRateWindow() {
    testing::Harness h;
    auto desk = deskAtTwentyPercent(h);
    desk->ShowComm()->SetText("3.00");
    QObject context;
    bool stepRan = false;
    inRateWindow(&context, [&](ChgmentTaux& w) {
      stepRan = true;
      QCOMPARE(h.dialogs().texts(), QStringList{RateWarning});  // the warning came first
      QCOMPARE(w.nveautaux()->Text(), QString("20"));
      w.nveautaux()->SetText("12,5");
      w.BevelButton1()->click();
    });
    desk->BevelButton2()->click();
    // The click returns only once the rate window has closed.
    QVERIFY(stepRan);
    QVERIFY(!openWindowOf<ChgmentTaux>());
    QCOMPARE(Module1::ovktaux, 0.125);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.125\n"));
    QCOMPARE(desk->ShowComm()->Text(), QString("3.00"));  // not worked out again
    QCOMPARE(h.dialogs().texts(), QStringList{RateWarning});
  }

  void rateChangeAbandoned() {
    testing::Harness h;
    auto desk = deskAtTwentyPercent(h);
    QObject context;
    inRateWindow(&context, [](ChgmentTaux& w) {
      w.nveautaux()->SetText("50");
      w.BevelButton2()->click();
    });
    desk->BevelButton2()->click();
    QVERIFY(!openWindowOf<ChgmentTaux>());
    QCOMPARE(h.dialogs().texts(), QStringList{RateWarning});
    QCOMPARE(Module1::ovktaux, 0.2);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.2\n"));
  }

  // The warning is shown again at every use, and each use builds a new
  // rate window on the rate then in force.
  void everyRateChangeStartsAfresh() {
    testing::Harness h;
    auto desk = deskAtTwentyPercent(h);
    QObject context;
    inRateWindow(&context, [](ChgmentTaux& w) {
      w.nveautaux()->SetText("15");
      w.BevelButton1()->click();
    });
    desk->BevelButton2()->click();
    QString shownSecondTime;
    inRateWindow(&context, [&](ChgmentTaux& w) {
      shownSecondTime = w.nveautaux()->Text();
      w.BevelButton2()->click();
    });
    desk->BevelButton2()->click();
    QCOMPARE(shownSecondTime, QString("15"));
    QCOMPARE(h.dialogs().texts(), QStringList({RateWarning, RateWarning}));
  }

  // From the desk too, a rate that cannot be stored leaves the window up
  // for "Abandonner", and the old rate in force.
  void rateWindowStaysWhenTheFileCannotBeWritten() {
    testing::Harness h;
    auto desk = deskAtTwentyPercent(h);
    QObject context;
    bool stayedOpen = false;
    inRateWindow(&context, [&](ChgmentTaux& w) {
      QVERIFY(QFile::remove(h.path("ValComm.txt")));
      QVERIFY(QDir(h.folder()).mkdir("ValComm.txt"));
      w.nveautaux()->SetText("30");
      w.BevelButton1()->click();
      stayedOpen = !w.IsClosed() && openWindowOf<ChgmentTaux>() == &w;
      w.BevelButton2()->click();
    });
    desk->BevelButton2()->click();
    QVERIFY(stayedOpen);
    QCOMPARE(h.dialogs().texts(),
             QStringList({RateWarning, QString::fromUtf8("impossible d'écrire le fichier modifié!")}));
    QCOMPARE(Module1::ovktaux, 0.2);
  }

  void quitEndsTheRunAtOnce() {
    testing::Harness h;
    auto desk = testing::OpenDesk(h);
    desk->PushButton4()->click();  // another window open does not matter
    h.dialogs().clear();
    desk->BevelButton5()->click();
    QCOMPARE(h.quits(), QList<int>{0});
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void warningTextIsBuiltWithThePlatformLineEnd() {
    testing::Harness h;
    auto desk = deskAtTwentyPercent(h);
    QObject context;
    inRateWindow(&context, [](ChgmentTaux& w) { w.BevelButton2()->click(); });
    desk->BevelButton2()->click();
    const QStringList parts = h.dialogs().texts().value(0).split(tk::EndOfLine);
    QCOMPARE(parts.size(), 2);
    QVERIFY(parts[1].endsWith("\"Abandonner\"."));
  }
};

QTEST_MAIN(TestDeskNavigation)
#include "tst_desknavigation.moc"
