// Times the seller cards of a fair of 200 sellers: from the click on
// "Imprimer les fiches vendeurs" to the cards file handed to an opener
// that ends at once (a stand-in first on PATH), through the real handler.
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_cards
// Measure a Release build.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "fair.h"

#include "core/module1.h"
#include "core/sellerformat.h"
#include "reports/utilities.h"
#include "rtf/printlauncher.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/window.h"

namespace {

constexpr int Sellers = 200;
constexpr int Runs = 21;

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  bench::PrintingBench printing;
  if (!printing.Ready()) return 1;
  bench::Boxes& boxes = *printing.boxes;

  QByteArray sellers;
  for (int s = 1; s <= Sellers; ++s) sellers += SellerLine(bench::FairSeller(s, 500)).toUtf8() + '\n';
  bench::WriteFile(SellerListFile, sellers);

  std::vector<double> written;
  std::vector<double> opened;
  auto w = tk::Ref<utilities>();
  for (int run = 0; run < Runs; ++run) {
    QElapsedTimer t;
    t.start();
    w->BevelButton1()->click();
    const qint64 afterClick = t.nsecsElapsed();
    while (PrintLaunchRunning(*w.get())) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 afterOpener = t.nsecsElapsed();
    if (boxes.count > 0 || w->Controlle()->ListCount() != Sellers) {
      std::fprintf(stderr, "the cards were not written: %s\n", qPrintable(boxes.last));
      return 1;
    }
    written.push_back(bench::Ms(afterClick));
    opened.push_back(bench::Ms(afterOpener));
  }
  std::printf("cards of %d sellers, median of %d: %.1f ms written and the opener started, %.1f ms until the "
              "opener ended; slowest %.1f ms\n",
              Sellers, Runs, bench::Median(written), bench::Median(opened),
              *std::max_element(opened.begin(), opened.end()));
  tk::CloseAllWindows();
  return 0;
}
