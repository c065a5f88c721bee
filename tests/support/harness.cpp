#include "support/harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "toolkit/application.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace testing {

namespace {
// Long enough for any program a test starts, short of CTest's own limit.
constexpr int kLongestWaitMs = 20000;
}  // namespace

void ScriptedDialogs::runOpen(const OpenBox& script, const QString& caption, const std::function<void()>& show) {
  QPointer<QMessageBox> box;
  QMetaObject::Connection watch;
  bool seen = false;
  bool answered = false;
  bool gaveUp = false;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  poll.setInterval(1);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (answered) return;
    if (!box) {
      box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen = true;
      watch = QObject::connect(box, &QObject::destroyed, [&answered] {
        if (!answered) qFatal("a message box was deleted while it was still open (its window went under it)");
      });
      if (script.whileOpen) script.whileOpen();
    }
    const bool due = !script.answerWhen || script.answerWhen();
    if (!due && clock.elapsed() < kLongestWaitMs) return;
    gaveUp = !due;
    answered = true;
    const QList<QAbstractButton*> buttons = box->buttons();
    for (QAbstractButton* b : buttons) {
      if (caption.isEmpty() || b->text().remove(QLatin1Char('&')) == caption) {
        b->click();
        return;
      }
    }
    box->done(0);
  });
  poll.start();
  show();
  poll.stop();
  QObject::disconnect(watch);
  if (!seen) QTest::qFail("no real message box came up", __FILE__, __LINE__);
  else if (gaveUp) QTest::qFail("an open box waited for something that never came", __FILE__, __LINE__);
}

void ScriptedDialogs::msgBox(const QString& text) {
  Shown s;
  s.text = text;
  shown_.append(s);
  if (!open_.isEmpty()) {
    const OpenBox box = open_.takeFirst();
    runOpen(box, QString(), [&] { real_->msgBox(text); });
  }
}

tk::DialogAnswer ScriptedDialogs::messageDialog(const tk::MessageDialog& dialog) {
  Shown s;
  s.isDialog = true;
  s.text = dialog.Message;
  s.dialog = dialog;
  shown_.append(s);
  tk::DialogAnswer answer = tk::DialogAnswer::Other;
  auto it = standing_.constFind(dialog.Title);
  if (it != standing_.constEnd()) {
    answer = *it;
  } else if (script_.isEmpty()) {
    QTest::qFail(qPrintable(QStringLiteral("a message dialog the test did not script: \"") + dialog.Title +
                            QStringLiteral("\"")),
                 __FILE__, __LINE__);
    return tk::DialogAnswer::Other;
  } else {
    answer = script_.takeFirst();
  }
  if (open_.isEmpty()) return answer;
  const OpenBox box = open_.takeFirst();
  const QString caption = answer == tk::DialogAnswer::Action      ? dialog.ActionButton.Caption
                          : answer == tk::DialogAnswer::Alternate ? dialog.AlternateActionButton.Caption
                                                                  : dialog.CancelButton.Caption;
  tk::DialogAnswer given = tk::DialogAnswer::Other;
  runOpen(box, caption, [&] { given = real_->messageDialog(dialog); });
  return given;
}

QStringList ScriptedDialogs::texts() {
  checked_ = static_cast<int>(shown_.size());
  QStringList out;
  for (const Shown& s : shown_) out << s.text;
  return out;
}

QStringList ScriptedDialogs::unchecked() const {
  QStringList out;
  for (int i = checked_; i < shown_.size(); ++i)
    if (!shown_.at(i).isDialog) out << shown_.at(i).text;
  return out;
}

void ScriptedDialogs::clear() {
  const QStringList left = unchecked();
  if (!left.isEmpty())
    QTest::qFail(qPrintable(QStringLiteral("message boxes dropped unseen: ") + left.join(QStringLiteral(" | "))),
                 __FILE__, __LINE__);
  shown_.clear();
  checked_ = 0;
}

Harness::Harness(tk::Date today)
    : DataFolder(today),
      dialogs_(std::make_shared<ScriptedDialogs>()),
      quits_(std::make_shared<QList<int>>()) {
  tk::SetDialogSeam(dialogs_);
  auto q = quits_;
  tk::SetQuitHandler([q](int code) { q->append(code); });
  tk::ResetQuitRequest();
}

bool ProgramsLeftRunning() {
  if (tk::ProgramsRunning() == 0) return false;
  if (!QTest::currentTestFailed())
    QTest::qFail("the test ended while a program it started was still running", __FILE__, __LINE__);
  return true;
}

void WaitForPrograms() {
  if (!QTest::qWaitFor([] { return tk::ProgramsRunning() == 0; }, kLongestWaitMs))
    qFatal("a program started by the test never ended");
}

SecondRun RunThisTestAgain(const char* variable) {
  QString test = QString::fromLatin1(QTest::currentTestFunction());
  if (QTest::currentDataTag()) test += QLatin1Char(':') + QString::fromUtf8(QTest::currentDataTag());
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(variable), QStringLiteral("1"));
  // A stop there is expected: no debugger's stack dump (seconds each).
  env.insert(QStringLiteral("QTEST_DISABLE_STACK_DUMP"), QStringLiteral("1"));
  run.setProcessEnvironment(env);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(), {test});
  if (!run.waitForFinished(60000)) qFatal("the second run did not end");
  return {run.exitStatus() == QProcess::CrashExit, run.exitCode(), QString::fromUtf8(run.readAll())};
}

Harness::~Harness() {
  if (ProgramsLeftRunning()) WaitForPrograms();
  // Every box a test causes is one it expected: a failure already reported
  // is not repeated.
  if (!QTest::currentTestFailed()) {
    const QStringList left = dialogs_->unchecked();
    if (!left.isEmpty())
      QTest::qFail(qPrintable(QStringLiteral("message boxes the test never looked at: ") +
                              left.join(QStringLiteral(" | "))),
                   __FILE__, __LINE__);
    else if (dialogs_->unusedAnswers() > 0)
      QTest::qFail("answers scripted for boxes that never came", __FILE__, __LINE__);
  }
  tk::CloseAllWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  tk::SetDialogSeam(nullptr);
  tk::SetQuitHandler({});
  tk::ResetQuitRequest();
}

}  // namespace testing
