// A whole run of the program in its working folder, driven by the test
// that starts it: the start-up as the program makes it (the data folder's
// lock, then the desk's opening, answered "Continuer"), then commands read
// from its input, one a line:
//   book COUPON AMOUNT   types both into the desk and clicks "Ajouter"
//   open PROGRAM FILE    starts a program the way a printout does
//   quit                 ends the run
// It writes "ready" once its event loop runs, "box TEXT" for every message
// box, and "done" after each command.
//   deskprocess DAY MONTH YEAR

#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#include "app/startup.h"
#include "core/module1.h"
#include "desk/window1.h"
#include "toolkit/application.h"
#include "toolkit/clock.h"
#include "toolkit/dialogs.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

void say(const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
  std::fflush(stdout);
}

class Answers : public tk::DialogSeam {
 public:
  void msgBox(const QString& text) override { say(QStringLiteral("box ") + text); }
  tk::DialogAnswer messageDialog(const tk::MessageDialog&) override { return tk::DialogAnswer::Action; }
};

void obey(const QString& command) {
  const QStringList words = command.split(QLatin1Char(' '));
  if (words.at(0) == QLatin1String("book") && words.size() == 3) {
    const tk::Handle<Window1> desk = tk::Ref<Window1>();
    desk->EntryCoupon()->SetText(words.at(1));
    desk->ValeurCoupon()->SetText(words.at(2));
    desk->BevelButton1()->click();
  } else if (words.at(0) == QLatin1String("open") && words.size() == 3) {
    tk::StartProgram(words.at(1), {words.at(2)}, [](int) {});
  } else if (words.at(0) == QLatin1String("quit")) {
    tk::Quit(0);
  }
  say(QStringLiteral("done"));
}

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  const QStringList args = runtime.arguments();
  if (args.size() != 4) return 2;
  const tk::Date today{args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt()};
  tk::SetClock([today] { return today; });
  tk::SetDialogSeam(std::make_shared<Answers>());
  Module1::Initialise();

  QByteArray pending;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {  // the test has gone
      input.setEnabled(false);
      tk::Quit(0);
      return;
    }
    pending.append(buffer, n);
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
      const QString command = QString::fromUtf8(pending.left(end));
      pending.remove(0, end + 1);
      obey(command);
    }
  });
  QTimer::singleShot(0, [] { say(QStringLiteral("ready")); });
  const int code = app::_Main();
  tk::CloseAllWindows();
  return code;
}
