#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include "rtf/sellerstatement.h"
#include "rtf/statements.h"
#include "support/harness.h"
#include "support/stubopener.h"
#include "toolkit/dialogs.h"
#include "toolkit/process.h"
#include "toolkit/window.h"
#include "ui/printing.h"

Q_DECLARE_METATYPE(Platform)
Q_DECLARE_METATYPE(PrintCommand)
Q_DECLARE_METATYPE(PrintOutcome)

namespace {

const QString kCannotCreate = QString::fromUtf8("Impossible de créer un fichier pour ce vendeur!");

// The endings the printing windows got; outlives a window that closed.
QList<PrintOutcome> endings;

// A window that prints as a seller sheet does: write the statement, hand it
// to the launcher, close unless opening it failed.
class Printing : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Printing", 200, 100, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> none;
    return none;
  }

  void Imprimer() {
    if (PrintLaunchRunning(*this)) return;
    const std::optional<tk::FolderItem> file = WriteSellerStatement(statement);
    if (!file) {
      tk::MsgBox(kCannotCreate);
      Close();
      return;
    }
    PrintLauncher(*this, *file, StatementPrintCommand(file->Name()), [this](PrintOutcome outcome) {
      endings << outcome;
      if (outcome != PrintOutcome::Failed) Close();
    });
  }

  SellerStatement statement = testing::fourCouponStatement();
};

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// Every file or folder under `root` whose name starts with "pwned".
QStringList pwned(const QString& root) {
  QStringList found;
  QDirIterator it(root, {"pwned*"}, QDir::AllEntries | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) found << it.next();
  return found;
}

QString failureText(const QString& file) {
  return QString::fromUtf8("Impossible d'ouvrir le fichier \"%1\"! Vous devrez imprimer le fichier \"%1\" vous-même.")
      .arg(file);
}

}  // namespace

class TestPrintLauncher : public QObject {
  Q_OBJECT
 private slots:
  void init() { endings.clear(); }

  // Opened: one call, one argument (the file's absolute path), made once
  // the file was complete; then the window closes.
  void openedClosesTheWindow() {
    testing::Harness h;
    testing::StubOpener opener;
    auto w = tk::Ref<Printing>();
    w->Imprimer();
    QVERIFY(w.IsOpen());  // nothing waits for the opener
    QTRY_VERIFY(!w.IsOpen());
    const QList<testing::StubOpener::Call> calls = opener.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].program, QString("xdg-open"));
    QCOMPARE(calls[0].arguments.size(), 1);
    QVERIFY(QFileInfo(calls[0].arguments[0]).isAbsolute());
    QCOMPARE(canonical(calls[0].arguments[0]), canonical(h.path("vendeur_7.rtf")));
    QVERIFY(calls[0].copied);
    QCOMPARE(calls[0].copy, h.read("vendeur_7.rtf"));
    QCOMPARE(calls[0].copy, testing::golden("statement_four_coupons.rtf"));
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // Failed: the message names the file, the window stays, and a second
  // click writes the same bytes and tries again.
  void failedKeepsTheWindowForAnotherTry() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.setExitStatus(3);
    auto w = tk::Ref<Printing>();
    w->Imprimer();
    QTRY_COMPARE(endings.size(), 1);
    QCOMPARE(endings.last(), PrintOutcome::Failed);
    QCOMPARE(h.dialogs().texts(), QStringList{failureText("vendeur_7.rtf")});
    QVERIFY(w.IsOpen());
    const QByteArray first = h.read("vendeur_7.rtf");

    opener.setExitStatus(0);
    w->Imprimer();
    QTRY_VERIFY(!w.IsOpen());
    QCOMPARE(h.read("vendeur_7.rtf"), first);
    QCOMPARE(opener.calls().size(), 2);
    QCOMPARE(opener.calls()[1].copy, first);
    QCOMPARE(h.dialogs().texts().size(), 1);
  }

  // Shell characters in the code and a blank in the folder reach the
  // opener as one argument; no shell ever reads them.
  void noShell() {
    testing::Harness h;
    testing::StubOpener opener;
    const QString folder = h.path("Bourse aux plantes 2025");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir::setCurrent(folder));
    auto w = tk::Ref<Printing>();
    w->statement.sellerCode = "1;touch pwned;$(touch pwned2)";
    w->Imprimer();
    QTRY_VERIFY(!w.IsOpen());
    const QList<testing::StubOpener::Call> calls = opener.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].arguments,
             QStringList{QDir(folder).absoluteFilePath("vendeur_1;touch pwned;$(touch pwned2).rtf")});
    QVERIFY(calls[0].copied);
    QCOMPARE(pwned(h.folder()), QStringList());
    QCOMPARE(pwned(opener.folder()), QStringList());
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // A statement that cannot be written: its message, the window closes,
  // nothing is started.
  void fileNotWrittenStartsNothing() {
    testing::Harness h;
    testing::StubOpener opener;
    QVERIFY(QDir(h.folder()).mkdir("vendeur_7.rtf"));
    auto w = tk::Ref<Printing>();
    w->Imprimer();
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.dialogs().texts(), QStringList{kCannotCreate});
    QCOMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), 0);
    QVERIFY(QFileInfo(h.path("vendeur_7.rtf")).isDir());
  }

  // While the opener runs the event loop goes on, and the window cannot
  // start a second launch; the ending follows when the opener ends.
  void eventLoopRunsWhileTheOpenerDoes() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.hold();
    auto w = tk::Ref<Printing>();
    w->Imprimer();
    bool timerFired = false;
    QTimer::singleShot(0, [&] { timerFired = true; });
    QTRY_VERIFY(timerFired);
    QTRY_COMPARE(opener.calls().size(), 1);
    QVERIFY(PrintLaunchRunning(*w.get()));
    QVERIFY(!PrintLauncher(*w.get(), tk::GetFolderItem("vendeur_7.rtf"), StatementPrintCommand("vendeur_7.rtf"),
                           [](PrintOutcome) { QFAIL("a refused launch has no ending"); }));
    w->Imprimer();  // does nothing meanwhile
    QVERIFY(w.IsOpen());
    QVERIFY(endings.isEmpty());

    opener.release();
    QTRY_VERIFY(!w.IsOpen());
    QCOMPARE(endings, QList<PrintOutcome>{PrintOutcome::Opened});
    QCOMPARE(opener.calls().size(), 1);
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // A window may open another file while one is still open; the same file
  // is refused until its program has ended.
  void anotherFileMeanwhile() {
    testing::Harness h;
    testing::StubOpener opener;
    opener.hold();
    h.write("a.rtf", "a");
    h.write("b.rtf", "b");
    const tk::FolderItem a = tk::GetFolderItem("a.rtf");
    const tk::FolderItem b = tk::GetFolderItem("b.rtf");
    auto w = tk::Ref<Printing>();
    QList<PrintOutcome> got;
    const auto record = [&](PrintOutcome o) { got << o; };
    QVERIFY(PrintLauncher(*w.get(), a, StatementPrintCommand("a.rtf"), record));
    QVERIFY(!PrintLauncher(*w.get(), a, StatementPrintCommand("a.rtf"), record));
    QVERIFY(PrintLauncher(*w.get(), b, StatementPrintCommand("b.rtf"), record));
    QVERIFY(PrintLaunchRunning(*w.get(), a));
    QVERIFY(PrintLaunchRunning(*w.get(), b));
    opener.release();
    QTRY_COMPARE(got.size(), 2);
    QVERIFY(!PrintLaunchRunning(*w.get()));
    QCOMPARE(opener.calls().size(), 2);
    QCOMPARE(h.dialogs().texts(), QStringList());
  }

  // A window closed or deleted before the opener ends gets no ending; the
  // user still hears that the file was not opened.
  void windowGoneBeforeTheEnd_data() {
    QTest::addColumn<bool>("deleted");
    QTest::newRow("closed") << false;
    QTest::newRow("deleted") << true;
  }
  void windowGoneBeforeTheEnd() {
    QFETCH(bool, deleted);
    testing::Harness h;
    testing::StubOpener opener;
    opener.setExitStatus(1);
    opener.hold();
    bool ended = false;
    {
      auto w = tk::Ref<Printing>();
      QVERIFY(PrintLauncher(*w.get(), tk::GetFolderItem("x.rtf"), StatementPrintCommand("x.rtf"),
                            [&](PrintOutcome) { ended = true; }));
      QVERIFY(PrintLaunchRunning(*w.get()));
      w->Close();
      if (deleted) tk::CloseAllWindows();
      QCOMPARE(w.get() == nullptr, deleted);
    }
    // A new window of the class is free to print.
    auto again = tk::Ref<Printing>();
    QVERIFY(!PrintLaunchRunning(*again.get()));
    opener.release();
    QTRY_COMPARE(h.dialogs().texts(), QStringList{failureText("x.rtf")});
    QVERIFY(!ended);
  }

  // Each printout's program and failure message, per platform.
  void variants_data() {
    QTest::addColumn<Platform>("platform");
    QTest::addColumn<PrintCommand>("command");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("failure");
    const QString cards = QString::fromUtf8("Vous devrez imprimer le fichier \"FichesVendeurs.rtf\" vous-même.");
    const QString results =
        QString::fromUtf8("Vous devrez imprimer le fichier \"Fichier_General_des_vendeurs.rtf\" vous-même.");
    QTest::newRow("statement, Linux") << Platform::Linux << StatementPrintCommand("vendeur_12.rtf") << "xdg-open"
                                      << failureText("vendeur_12.rtf");
    QTest::newRow("statement, macOS") << Platform::MacOS << StatementPrintCommand("vendeur_12.rtf") << "open"
                                      << failureText("vendeur_12.rtf");
    QTest::newRow("cards, Linux") << Platform::Linux << SellerCardsPrintCommand() << "abiword"
                                  << "Impossible d'ouvrir Abiword! " + cards;
    QTest::newRow("cards, macOS") << Platform::MacOS << SellerCardsPrintCommand() << "open"
                                  << "Impossible d'ouvrir TextEdit " + cards;
    QTest::newRow("results, Linux") << Platform::Linux << GeneralResultsPrintCommand() << "abiword"
                                    << "Impossible d'ouvrir Abiword! " + results;
    QTest::newRow("results, macOS") << Platform::MacOS << GeneralResultsPrintCommand() << "open"
                                    << "Impossible d'ouvrir TextEdit! " + results;
  }
  void variants() {
    QFETCH(Platform, platform);
    QFETCH(PrintCommand, command);
    QFETCH(QString, program);
    QFETCH(QString, failure);
    testing::Harness h;
    testing::StubOpener opener;
    h.write("report.rtf", "{\\rtf1 x}\n");
    auto w = tk::Ref<Printing>();
    QList<PrintOutcome> outcomes;
    for (int status : {0, 1}) {
      opener.setExitStatus(status);
      QVERIFY(PrintLauncherOn(platform, *w.get(), tk::GetFolderItem("report.rtf"), command,
                              [&](PrintOutcome o) { outcomes << o; }));
      QTRY_COMPARE(outcomes.size(), status + 1);
    }
    QCOMPARE(outcomes, (QList<PrintOutcome>{PrintOutcome::Opened, PrintOutcome::Failed}));
    QCOMPARE(h.dialogs().texts(), QStringList{failure});
    for (const testing::StubOpener::Call& c : opener.calls()) {
      QCOMPARE(c.program, program);
      QCOMPARE(c.arguments, QStringList{h.path("report.rtf")});
    }
    QCOMPARE(opener.calls().size(), 2);
  }

  // Windows has no command: its message, then the ending, before the call
  // returns; nothing is started.
  void windowsHasNoCommand() {
    testing::Harness h;
    testing::StubOpener opener;
    auto w = tk::Ref<Printing>();
    QList<PrintOutcome> outcomes;
    QVERIFY(PrintLauncherOn(Platform::Windows, *w.get(), tk::GetFolderItem("x.rtf"), SellerCardsPrintCommand(),
                            [&](PrintOutcome o) { outcomes << o; }));
    QCOMPARE(outcomes, QList<PrintOutcome>{PrintOutcome::NoCommand});
    QCOMPARE(h.dialogs().texts(), QStringList{QString::fromUtf8("Fonction non implémentée sous Windows!")});
    QVERIFY(!PrintLaunchRunning(*w.get()));
    QCOMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), 0);
  }

  // An opener that is not installed is a failure like any other.
  void openerNotFound() {
    testing::Harness h;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(h.folder()));
    auto w = tk::Ref<Printing>();
    w->Imprimer();
    QTRY_COMPARE(endings.size(), 1);
    qputenv("PATH", path);
    QCOMPARE(endings.last(), PrintOutcome::Failed);
    QCOMPARE(h.dialogs().texts(), QStringList{failureText("vendeur_7.rtf")});
    QVERIFY(w.IsOpen());
  }
};

QTEST_MAIN(TestPrintLauncher)
#include "tst_printlauncher.moc"
