// Times the general results of a fair of 200 sellers with 100,000 booked
// coupons: from the click on "Imprimer les résultats" to the report handed
// to an opener that ends at once (a stand-in first on PATH), through the
// real handler; beside it, one plain write of the same bytes.
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_results
// Measure a Release build.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "fair.h"

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "reports/generalresults.h"
#include "reports/utilities.h"
#include "rtf/printlauncher.h"
#include "toolkit/application.h"
#include "toolkit/window.h"

namespace {

constexpr int Sellers = 200;
constexpr int CouponsPerSeller = 500;  // all booked: 100,000 coupons
constexpr int Runs = 7;
const QString Confirmation = QStringLiteral("Fichier créé (") + GeneralResultsFile + QStringLiteral(").");

void buildFair() {
  QByteArray sellers;
  std::mt19937 random(15);
  for (int s = 1; s <= Sellers; ++s) {
    const SellerRecord r = bench::FairSeller(s, CouponsPerSeller);
    sellers += SellerLine(r).toUtf8() + '\n';
    std::vector<int> numbers(CouponsPerSeller);
    for (int i = 0; i < CouponsPerSeller; ++i) numbers[static_cast<std::size_t>(i)] = (s - 1) * CouponsPerSeller + 1 + i;
    std::shuffle(numbers.begin(), numbers.end(), random);
    QByteArray sales;
    for (int n : numbers) sales += SaleEntry{tk::Str(n), bench::AmountOf(n)}.Line().toUtf8() + '\n';
    bench::WriteFile(SellerSalesFile(s), sales);
  }
  bench::WriteFile(SellerListFile, sellers);
}

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  bench::PrintingBench printing;
  if (!printing.Ready()) return 1;
  bench::Boxes& boxes = *printing.boxes;
  Module1::ovktaux = 0.1;
  Module1::myday = QStringLiteral("5/3/2025");
  buildFair();
  std::printf("memory before the run: %.1f MB\n", static_cast<double>(bench::PeakKiB()) / 1024.0);

  std::vector<double> times;
  for (int run = 0; run < Runs; ++run) {
    auto w = tk::Ref<utilities>();
    boxes.count = 0;
    QElapsedTimer t;
    t.start();
    w->BevelButton2()->click();
    while (w.IsOpen()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    times.push_back(bench::Ms(t.nsecsElapsed()));
    // The confirmation is the one box a run shows (a run that fails early
    // shows one box too, and closes the window as well).
    if (boxes.count != 1 || boxes.last != Confirmation) {
      std::fprintf(stderr, "the report was not written: %s\n", qPrintable(boxes.last));
      return 1;
    }
    tk::CloseAllWindows();
  }

  // The same bytes in one plain write, for comparison.
  QFile report(GeneralResultsFile);
  if (!report.open(QIODevice::ReadOnly)) return 1;
  const QByteArray bytes = report.readAll();
  std::vector<double> plain;
  for (int run = 0; run < Runs; ++run) {
    QElapsedTimer t;
    t.start();
    QFile f(QStringLiteral("plain.rtf"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return 1;
    f.close();
    plain.push_back(bench::Ms(t.nsecsElapsed()));
  }
  std::printf("general results of %d sellers, %d coupons, %lld bytes: median of %d runs %.1f ms (slowest %.1f ms); "
              "one plain write of the same bytes %.1f ms\n",
              Sellers, Sellers * CouponsPerSeller, static_cast<long long>(bytes.size()), Runs, bench::Median(times),
              *std::max_element(times.begin(), times.end()), bench::Median(plain));
  std::printf("peak memory (VmHWM): %.1f MB\n", static_cast<double>(bench::PeakKiB()) / 1024.0);
  return 0;
}
