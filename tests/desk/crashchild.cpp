// The program that the kill test starts in a data folder and kills at a
// random moment: it opens the desk there, then books and removes coupons
// until it is killed. Every step of a change that spans two files is made
// slow, so that a kill often falls between the two files.
//   crashchild FIRST_COUPON DAY MONTH YEAR

#include <QApplication>
#include <chrono>
#include <thread>

#include "core/module1.h"
#include "desk/window1.h"
#include "storage/filechange.h"
#include "toolkit/clock.h"
#include "toolkit/dialogs.h"
#include "toolkit/window.h"

namespace {

// "Continuer" at the start; every other box is only a text nobody reads.
class Answers : public tk::DialogSeam {
 public:
  void msgBox(const QString&) override {}
  tk::DialogAnswer messageDialog(const tk::MessageDialog&) override { return tk::DialogAnswer::Action; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 5) return 2;
  const int first = args.at(1).toInt();
  const tk::Date today{args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt()};
  tk::SetClock([today] { return today; });
  tk::SetDialogSeam(std::make_shared<Answers>());
  storage::SetChangeStepHook([](storage::ChangeStep, int) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    return storage::StepAnswer::Go;
  });
  Module1::Initialise();
  const tk::Handle<Window1> desk = tk::Ref<Window1>();
  if (!desk.IsOpen()) return 2;
  // Sellers 1 and 2 in turn; every fifth click removes the oldest row.
  for (int n = 0;; ++n) {
    if (n % 5 == 4 && desk->ReferenceBox()->ListCount() > 0) {
      desk->ReferenceBox()->SetListIndex(0);
      desk->BevelButton3()->click();
      continue;
    }
    const int coupon = first + n + (n % 2 == 0 ? 0 : 2000);
    desk->EntryCoupon()->SetText(QString::number(coupon));
    desk->ValeurCoupon()->SetText(QStringLiteral("%1.50").arg(n % 90));
    desk->BevelButton1()->click();
  }
}
