#include <QTest>

#include "support/harness.h"
#include "support/stubopener.h"
#include "toolkit/process.h"

// The harness itself: a test that ends while a program it started still
// runs fails, in that test, and the program's ending never reaches the
// next one. The failing test is run in a second run of this program.
class TestHarness : public QObject {
  Q_OBJECT
 private slots:
  void programLeftRunningFailsTheTest_data() {
    QTest::addColumn<bool>("stub");
    QTest::newRow("a held stub opener") << true;
    QTest::newRow("a program of its own") << false;
  }
  void programLeftRunningFailsTheTest() {
    QFETCH(bool, stub);
    if (qEnvironmentVariableIsSet("CORVALENTA_LEAVE_RUNNING")) {
      testing::Harness h;
      if (stub) {
        testing::StubOpener opener;
        opener.hold();
        tk::StartProgram("xdg-open", {h.path("x.rtf")}, [](int) {});
        QTRY_COMPARE(opener.calls().size(), 1);
      } else {
        // Its ending can only come from the event loop, after the test.
        tk::StartProgram("true", {}, [](int) {});
      }
      return;
    }
    const testing::SecondRun run = testing::RunThisTestAgain("CORVALENTA_LEAVE_RUNNING");
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains("the test ended while a program it started was still running"),
             qPrintable(run.output));
  }
};

QTEST_MAIN(TestHarness)
#include "tst_harness.moc"
