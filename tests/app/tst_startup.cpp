#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeySequence>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/corvalenta.h"
#include "app/startup.h"
#include "desk/window1.h"
#include "storage/folderlock.h"
#include "support/desk.h"
#include "support/harness.h"
#include "toolkit/application.h"
#include "toolkit/window.h"
#include "ui/menubar1.h"
#include "ui/pictures.h"

class TestStartup : public QObject {
  Q_OBJECT
 private slots:
  void startsAndShowsTheDesk() {
    testing::Harness h;
    h.dialogs().answerTitle(testing::StartDialogTitle, tk::DialogAnswer::Action);
    QStringList seen;
    // Once the event loop runs, look at the screen, then quit as the desk does.
    QTimer::singleShot(0, [&] {
      for (tk::Window* w : tk::OpenWindows()) seen << w->objectName() + (w->isVisible() ? "+" : "-");
      tk::Quit(0);
    });
    tk::SetQuitHandler([](int code) { QCoreApplication::exit(code); });
    QCOMPARE(app::_Main(), 0);
    QCOMPARE(seen, QStringList({"Window1+"}));
    QVERIFY(tk::App());
    QCOMPARE(tk::App()->MenuBar, static_cast<QMenuBar*>(&MenuBar1::Instance()));
  }

  // The run holds its data folder from before the desk's opening to its
  // end, and lets it go then.
  void theRunHoldsItsFolder() {
    testing::Harness h;
    h.dialogs().answerTitle(testing::StartDialogTitle, tk::DialogAnswer::Action);
    storage::FolderLock::State whileRunning = storage::FolderLock::Taken;
    QTimer::singleShot(0, [&] {
      whileRunning = storage::FolderLock(h.folder()).state();
      tk::Quit(0);
    });
    tk::SetQuitHandler([](int code) { QCoreApplication::exit(code); });
    QCOMPARE(app::_Main(), 0);
    QCOMPARE(whileRunning, storage::FolderLock::HeldElsewhere);
    QCOMPARE(storage::FolderLock(h.folder()).state(), storage::FolderLock::Taken);
  }

  // A data folder that another run holds: the start says so and ends before
  // anything reads or writes a file (no rate file, no journal, no window).
  void secondStartOnAHeldFolderIsRefused() {
    testing::Harness h;
    const storage::FolderLock other(h.folder());
    QCOMPARE(other.state(), storage::FolderLock::Taken);
    QCOMPARE(app::_Main(), 1);
    QCOMPARE(h.dialogs().texts(),
             QStringList({"Corvalenta est déjà ouvert sur ce dossier de données: utilisez la fenêtre déjà ouverte."}));
    QCOMPARE(h.quits(), QList<int>({1}));
    QVERIFY(tk::OpenWindows().empty());
    QCOMPARE(QDir(h.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList());
  }

  void versionData() {
    testing::Harness h;
    app::_NewAppInstance();
    const tk::VersionData& v = tk::App()->Version();
    QCOMPARE(v.MajorVersion, 0);
    QCOMPARE(v.MinorVersion, 9);
    QCOMPARE(v.BugVersion, 3);
    QCOMPARE(v.NonReleaseVersion, 0);
    QCOMPARE(v.StageCode, 2);
    QVERIFY(v.LongVersion.isEmpty() && v.ShortVersion.isEmpty() && v.PackageInfo.isEmpty());
  }

  void quitBeforeTheEventLoopEndsTheRunAtOnce() {
    testing::Harness h;
    tk::SetQuitHandler({});  // the real one
    tk::Quit(0);
    QCOMPARE(tk::RunEventLoop(), 0);  // returns without running
  }

  void picturesAreCarriedAndFetchedOnce() {
    const QImage logo = ovkmoyen();
    const QImage emblem = siglBourse();
    QVERIFY(!logo.isNull());
    QVERIFY(!emblem.isNull());
    QCOMPARE(logo.size(), QSize(99, 92));
    QCOMPARE(emblem.size(), QSize(109, 74));
    QCOMPARE(ovkmoyen().cacheKey(), logo.cacheKey());
    QCOMPARE(siglBourse().cacheKey(), emblem.cacheKey());
  }

  void menuBar_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("FileQuit") << "FileQuit" << "&Quit" << "Ctrl+Q";
    QTest::newRow("EditUndo") << "EditUndo" << "&Undo" << "Ctrl+Z";
    QTest::newRow("UntitledMenu1") << "UntitledMenu1" << "-" << "";
    QTest::newRow("EditCut") << "EditCut" << "Cu&t" << "Ctrl+X";
    QTest::newRow("EditCopy") << "EditCopy" << "&Copy" << "Ctrl+C";
    QTest::newRow("EditPaste") << "EditPaste" << "&Paste" << "Ctrl+V";
    QTest::newRow("EditClear") << "EditClear" << "&Delete" << "";
    QTest::newRow("UntitledMenu0") << "UntitledMenu0" << "-" << "";
    QTest::newRow("EditSelectAll") << "EditSelectAll" << "Select &All" << "Ctrl+A";
  }
  void menuBar() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    MenuBar1& bar = MenuBar1::Instance();
    QCOMPARE(&MenuBar1::Instance(), &bar);
    QAction* a = bar.Lookup(name);
    QVERIFY(a);
    QCOMPARE(a->text(), text);
    QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
    QVERIFY(a->isVisible());
    QVERIFY(!bar.isVisible());
  }

  void menuBarOrder() {
    MenuBar1& bar = MenuBar1::Instance();
    QStringList menus, file, edit;
    for (QAction* m : bar.actions()) menus << m->text();
    QCOMPARE(menus, QStringList({"&File", "&Edit"}));
    for (QAction* a : bar.actions().at(0)->menu()->actions()) file << a->objectName();
    for (QAction* a : bar.actions().at(1)->menu()->actions()) edit << a->objectName();
    QCOMPARE(file, QStringList({"FileQuit"}));
    QCOMPARE(edit, QStringList({"EditUndo", "UntitledMenu1", "EditCut", "EditCopy", "EditPaste", "EditClear",
                                "UntitledMenu0", "EditSelectAll"}));
  }

  void menuQuitQuits() {
    testing::Harness h;
    MenuBar1::Instance().Lookup("FileQuit")->trigger();
    QCOMPARE(h.quits(), QList<int>({0}));
  }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
