#pragma once
// What every test of the windows needs beside its data folder: scripted
// message boxes, a recorded Quit, and no program left running at its end.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "support/datafolder.h"
#include "toolkit/dialogs.h"

namespace testing {

// Records every box in the order shown and answers message dialogs from a
// script. A message dialog nobody scripted fails the test (it is answered
// "Other"); so does a message box whose text the test never looked at.
class ScriptedDialogs : public tk::DialogSeam {
 public:
  // A box run the way the real one runs: a real box with its own event
  // loop, where events go on meanwhile (a program ending, a window closing).
  // `whileOpen` runs once the box is up; the box is answered as scripted
  // once `answerWhen` holds. A box deleted while still open stops the run.
  struct OpenBox {
    std::function<void()> whileOpen;
    std::function<bool()> answerWhen;
  };

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
  int unusedAnswers() const { return static_cast<int>(script_.size() + open_.size()); }

  // The next box shown, of either kind, runs as an open box; the boxes after
  // it are answered at once again.
  void runNext(OpenBox box) { open_.append(std::move(box)); }

 private:
  // Shows the real box and answers it as `box` says, by the button of that caption (the first when empty).
  void runOpen(const OpenBox& box, const QString& caption, const std::function<void()>& show);

  std::shared_ptr<tk::DialogSeam> real_ = tk::QtDialogSeam();
  QList<OpenBox> open_;
  QList<tk::DialogAnswer> script_;
  QHash<QString, tk::DialogAnswer> standing_;
  QList<Shown> shown_;
  int checked_ = 0;  // the boxes before this one have been looked at
};

class Harness : public DataFolder {
 public:
  explicit Harness(tk::Date today = tk::Date{5, 3, 2025});
  ~Harness();

  ScriptedDialogs& dialogs() { return *dialogs_; }
  // Exit codes passed to Quit, in order.
  const QList<int>& quits() const { return *quits_; }

 private:
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::shared_ptr<QList<int>> quits_;
};

// Fails the test when a program it started is still running; true then.
// Every test waits for the programs it starts: an ending left for later
// would come in the next test.
bool ProgramsLeftRunning();
// Lets the event loop run until every program started has ended.
void WaitForPrograms();

// A second run of this test program, of the current test function and data
// row only, with `variable` set in its environment: for a test whose
// subject must stop or fail a run. Gives how it ended and all it printed.
struct SecondRun {
  bool crashed = false;
  int exitCode = 0;
  QString output;
};
SecondRun RunThisTestAgain(const char* variable);

}  // namespace testing
