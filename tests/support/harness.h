#pragma once
// What every test of the program needs: a fresh data folder as the working
// folder, scripted message boxes, a fixed date, and a recorded Quit.

#include <QDir>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "toolkit/clock.h"
#include "toolkit/dialogs.h"

namespace testing {

// Records every box in the order shown and answers message dialogs from a
// script. A message dialog nobody scripted fails the test (it is answered
// "Other"); so does a message box whose text the test never looked at.
class ScriptedDialogs : public tk::DialogSeam {
 public:
  struct Shown {
    bool isDialog = false;
    QString text;               // the box's text, or the dialog's message
    tk::MessageDialog dialog;   // the whole dialog, for message dialogs
  };

  void msgBox(const QString& text) override;
  tk::DialogAnswer messageDialog(const tk::MessageDialog& dialog) override;

  // The answer to the next message dialog shown.
  void answer(tk::DialogAnswer a) { script_.append(a); }
  // A standing answer for every dialog of that title, taken before the
  // script (for a dialog a test does not look at, such as the desk's start).
  void answerTitle(const QString& title, tk::DialogAnswer a) { standing_.insert(title, a); }

  // Every text shown, in order; looking at them checks every box so far.
  QStringList texts();
  // What was shown, for a dialog's details. Looking here checks no box.
  const QList<Shown>& shown() const { return shown_; }
  // Forgets what was shown, once every box of it has been looked at.
  void clear();
  // The texts of the message boxes shown that the test has not looked at.
  QStringList unchecked() const;
  // Answers scripted and never asked for.
  int unusedAnswers() const { return static_cast<int>(script_.size()); }

 private:
  QList<tk::DialogAnswer> script_;
  QHash<QString, tk::DialogAnswer> standing_;
  QList<Shown> shown_;
  int checked_ = 0;  // the boxes before this one have been looked at
};

class Harness {
 public:
  explicit Harness(tk::Date today = tk::Date{5, 3, 2025});
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  QString path(const QString& name) const { return dir_.filePath(name); }
  QString folder() const { return dir_.path(); }

  // Files of the data folder, as bytes and as lines.
  void write(const QString& name, const QByteArray& content) const;
  QByteArray read(const QString& name) const;
  bool exists(const QString& name) const;

  ScriptedDialogs& dialogs() { return *dialogs_; }
  // Exit codes passed to Quit, in order.
  const QList<int>& quits() const { return *quits_; }
  void setToday(tk::Date d);

 private:
  QTemporaryDir dir_;
  QString previousDir_;
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::shared_ptr<QList<int>> quits_;
  std::shared_ptr<tk::Date> today_;
};

}  // namespace testing

namespace testing {
// True when the run asked for a French locale (the second run of the
// conversion tests); such a run must really have it.
bool frenchRunExpected();
bool frenchLocaleActive();
}  // namespace testing
