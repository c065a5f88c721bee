#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "toolkit/process.h"

namespace {
// Starts the program and waits, turning the event loop, for its end.
int run(const QString& program, const QStringList& arguments) {
  int status = 0;
  bool ended = false;
  tk::StartProgram(program, arguments, [&](int s) {
    status = s;
    ended = true;
  });
  if (!QTest::qWaitFor([&] { return ended; }, 20000)) qFatal("the program did not end");
  return status;
}
}  // namespace

class TestProcess : public QObject {
  Q_OBJECT
 private slots:
  void exitStatus_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    // A blank, a quote or a ";" in an argument is part of that argument.
    QTest::newRow("one argument, shell characters and all")
        << "sh" << QStringList({"-c", "test \"$1\" = 'a b;c $(x)' && test $# = 1", "sh", "a b;c $(x)"}) << 0;
    QTest::newRow("exit status") << "sh" << QStringList({"-c", "exit 3"}) << 3;
    QTest::newRow("not found") << "/nonexistent/program" << QStringList() << tk::kProcessFailed;
    QTest::newRow("not on PATH") << "no-such-program-anywhere" << QStringList() << tk::kProcessFailed;
    QTest::newRow("killed") << "sh" << QStringList({"-c", "kill -9 $$"}) << tk::kProcessFailed;
  }
  void exitStatus() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QCOMPARE(run(program, arguments), status);
  }

  // The ending comes from the event loop, never inside the call, even for
  // a program that cannot start.
  void endingComesAfterTheCall() {
    bool ended = false;
    tk::StartProgram("/nonexistent/program", {}, [&](int) { ended = true; });
    QVERIFY(!ended);
    QTRY_VERIFY(ended);
  }

  // The program can only end once a timer of ours has fired: nothing
  // blocks the event loop while it runs.
  void eventLoopRunsMeanwhile() {
    QTemporaryDir dir;
    const QString release = dir.filePath("release");
    QTimer::singleShot(0, [&] { QFile(release).open(QIODevice::WriteOnly); });
    QCOMPARE(run("sh", {"-c", "while [ ! -e \"$1\" ]; do sleep 0.01; done", "sh", release}), 0);
  }
};

QTEST_MAIN(TestProcess)
#include "tst_process.moc"
