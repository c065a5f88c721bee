// Times the seller sheet of a seller with 5,000 booked coupons: from the
// click on the picker's "Sélectionner et cliquer ici!" to the sheet shown
// (and drawn). Builds the files in a temporary folder and drives the real
// handlers.
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_sheet
// Measure a Release build.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "fair.h"

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "sheet/feuillevendeur.h"
#include "sheet/selectvendor.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

constexpr int Sellers = 200;
constexpr int Coupons = 5000;  // booked for the seller timed
constexpr int Runs = 21;
constexpr int Chosen = 100;  // the seller timed, its row in the picker

void buildFiles() {
  QByteArray sellers;
  for (int s = 1; s <= Sellers; ++s) sellers += SellerLine(bench::FairSeller(s, Coupons)).toUtf8() + '\n';
  bench::WriteFile(SellerListFile, sellers);
  // Booked in the order a fair's day brings them, not in number order.
  std::vector<int> numbers(Coupons);
  for (int i = 0; i < Coupons; ++i) numbers[static_cast<std::size_t>(i)] = (Chosen - 1) * Coupons + 1 + i;
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(12));
  QByteArray sales;
  for (int n : numbers) sales += SaleEntry{tk::Str(n), bench::AmountOf(n)}.Line().toUtf8() + '\n';
  bench::WriteFile(SellerSalesFile(Chosen), sales);
  std::printf("sales file of seller %d: %d coupons, %lld bytes\n", Chosen, Coupons,
              static_cast<long long>(sales.size()));
}

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  QTemporaryDir dir;
  if (!bench::EnterDataFolder(dir)) return 1;
  auto boxes = std::make_shared<bench::Boxes>();
  tk::SetDialogSeam(boxes);
  Module1::Initialise();
  Module1::ovktaux = 0.1;
  buildFiles();

  std::vector<double> shown;
  std::vector<double> drawn;
  for (int run = 0; run < Runs; ++run) {
    auto picker = tk::Ref<SelectVendor>();
    QCoreApplication::processEvents();
    picker->ListVendeurs()->SetListIndex(Chosen - 1);
    QElapsedTimer t;
    t.start();
    picker->BevelButton1()->click();
    const qint64 afterClick = t.nsecsElapsed();
    QCoreApplication::processEvents();
    const qint64 afterDrawn = t.nsecsElapsed();
    auto sheet = tk::Ref<FeuilleVendeur>();
    if (boxes->count > 0 || sheet->CouponsVendeur()->ListCount() != Coupons) {
      std::fprintf(stderr, "the sheet was not built: %d rows, %s\n", sheet->CouponsVendeur()->ListCount(),
                   qPrintable(boxes->last));
      return 1;
    }
    shown.push_back(bench::Ms(afterClick));
    drawn.push_back(bench::Ms(afterDrawn));
    sheet->BevelButton1()->click();
    tk::CloseAllWindows();
  }
  std::printf("selection to sheet shown, median of %d: %.1f ms (%.1f ms until drawn), slowest %.1f ms\n", Runs,
              bench::Median(shown), bench::Median(drawn), *std::max_element(drawn.begin(), drawn.end()));

  tk::SetDialogSeam(nullptr);
  return 0;
}
