#include "support/harness.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTest>

#include "core/module1.h"
#include "toolkit/application.h"
#include "toolkit/window.h"

namespace testing {

void ScriptedDialogs::msgBox(const QString& text) {
  Shown s;
  s.text = text;
  shown_.append(s);
}

tk::DialogAnswer ScriptedDialogs::messageDialog(const tk::MessageDialog& dialog) {
  Shown s;
  s.isDialog = true;
  s.text = dialog.Message;
  s.dialog = dialog;
  shown_.append(s);
  auto it = standing_.constFind(dialog.Title);
  if (it != standing_.constEnd()) return *it;
  if (script_.isEmpty()) {
    QTest::qFail(qPrintable(QStringLiteral("a message dialog the test did not script: \"") + dialog.Title +
                            QStringLiteral("\"")),
                 __FILE__, __LINE__);
    return tk::DialogAnswer::Other;
  }
  return script_.takeFirst();
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
    : previousDir_(QDir::currentPath()),
      dialogs_(std::make_shared<ScriptedDialogs>()),
      quits_(std::make_shared<QList<int>>()),
      today_(std::make_shared<tk::Date>(today)) {
  QDir::setCurrent(dir_.path());
  tk::SetDialogSeam(dialogs_);
  auto t = today_;
  tk::SetClock([t] { return *t; });
  auto q = quits_;
  tk::SetQuitHandler([q](int code) { q->append(code); });
  tk::ResetQuitRequest();
  Module1::Initialise();
}

Harness::~Harness() {
  // Every box a test causes is one it expected: a failure already reported
  // is not repeated.
  if (!QTest::currentTestFailed()) {
    const QStringList left = dialogs_->unchecked();
    if (!left.isEmpty())
      QTest::qFail(qPrintable(QStringLiteral("message boxes the test never looked at: ") +
                              left.join(QStringLiteral(" | "))),
                   __FILE__, __LINE__);
    else if (dialogs_->unusedAnswers() > 0)
      QTest::qFail("answers scripted for message dialogs that never came", __FILE__, __LINE__);
  }
  tk::CloseAllWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  tk::SetDialogSeam(nullptr);
  tk::SetClock({});
  tk::SetQuitHandler({});
  tk::ResetQuitRequest();
  QDir::setCurrent(previousDir_);
}

void Harness::setToday(tk::Date d) { *today_ = d; }

void Harness::write(const QString& name, const QByteArray& content) const {
  QFile f(path(name));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the fixture %s", qPrintable(name));
  f.write(content);
}

QByteArray Harness::read(const QString& name) const {
  QFile f(path(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

bool Harness::exists(const QString& name) const { return QFile::exists(path(name)); }

}  // namespace testing

#include <QLocale>
#include <clocale>

namespace testing {

bool frenchRunExpected() { return qEnvironmentVariableIsSet("CORVALENTA_EXPECT_FRENCH"); }

bool frenchLocaleActive() {
  const char* c = std::setlocale(LC_NUMERIC, nullptr);
  const std::lconv* conv = std::localeconv();
  return QLocale::system().decimalPoint() == QStringLiteral(",") && c && QByteArray(c).startsWith("fr") &&
         conv && conv->decimal_point && conv->decimal_point[0] == ',';
}

}  // namespace testing
