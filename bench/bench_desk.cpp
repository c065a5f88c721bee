// Times the desk on a large fair: 200 sellers of 500 coupons each (a coupon
// map of 100,000 lines) and a journal of 20,000 bookings. Builds the fair in
// a temporary folder and drives the desk's real handlers.
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_desk
// Measure a Release build.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "fair.h"

#include "core/module1.h"
#include "desk/deskfiles.h"
#include "desk/window1.h"
#include "core/sellerformat.h"
#include "toolkit/application.h"
#include "toolkit/clock.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

constexpr int Sellers = 200;
constexpr int CouponsPerSeller = 500;
constexpr int BookedPerSeller = 100;  // 200 × 100 = 20,000 journal lines
constexpr int Entries = 200;
constexpr int Deletions = 5;

// Answers "Continuer" to the start dialog and counts the other boxes.
class Answers : public tk::DialogSeam {
 public:
  void msgBox(const QString& text) override {
    ++boxes;
    last = text;
  }
  tk::DialogAnswer messageDialog(const tk::MessageDialog&) override { return tk::DialogAnswer::Action; }
  int boxes = 0;
  QString last;
};

void buildFair() {
  QByteArray sellers;
  QByteArray map;
  QByteArray journal;
  for (const QString& h : JournalHeader(QStringLiteral("4/3/2025"))) journal += h.toUtf8() + '\n';
  std::vector<QByteArray> sales(Sellers + 1);
  for (int s = 1; s <= Sellers; ++s) {
    const SellerRecord r = bench::FairSeller(s, CouponsPerSeller);
    sellers += SellerLine(r).toUtf8() + '\n';
    ForEachCouponEntry(r, [&](const QString& line) {
      map += line.toUtf8() + '\n';
      return true;
    });
  }
  // Bookings interleaved across sellers, as a fair's day goes.
  for (int k = 0; k < BookedPerSeller; ++k) {
    for (int s = 1; s <= Sellers; ++s) {
      const int coupon = (s - 1) * CouponsPerSeller + 1 + k;
      const QString amount = bench::AmountOf(coupon);
      journal += JournalEntry{tk::Str(coupon), amount, QStringLiteral("Aquariophile n°%1").arg(s), tk::Str(s)}
                     .Line()
                     .toUtf8() +
                 '\n';
      sales[static_cast<std::size_t>(s)] += SaleEntry{tk::Str(coupon), amount}.Line().toUtf8() + '\n';
    }
  }
  bench::WriteFile(SellerListFile, sellers);
  bench::WriteFile(CouponMapFile, map);
  bench::WriteFile(SalesJournalFile(2025), journal);
  bench::WriteFile(RateFile, "0.1\n");
  for (int s = 1; s <= Sellers; ++s) bench::WriteFile(SellerSalesFile(s), sales[static_cast<std::size_t>(s)]);
  std::printf("fair: %d sellers, coupon map %lld bytes, journal %lld bytes\n", Sellers,
              static_cast<long long>(map.size()), static_cast<long long>(journal.size()));
}

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  QTemporaryDir dir;
  if (!bench::EnterDataFolder(dir)) return 1;
  auto answers = std::make_shared<Answers>();
  tk::SetDialogSeam(answers);
  tk::SetClock([] { return tk::Date{5, 3, 2025}; });
  tk::SetQuitHandler([answers](int code) {
    std::fprintf(stderr, "the desk ended the run (%d): %s\n", code, qPrintable(answers->last));
    std::exit(1);
  });
  Module1::Initialise();
  buildFair();
  std::printf("memory before the desk: %ld KiB\n", bench::PeakKiB());

  QElapsedTimer t;
  t.start();
  auto desk = tk::Ref<Window1>();
  const qint64 open = t.nsecsElapsed();
  QCoreApplication::processEvents();
  const qint64 openShown = t.nsecsElapsed();
  if (desk->ReferenceBox()->ListCount() != Sellers * BookedPerSeller) {
    std::fprintf(stderr, "journal not loaded: %d rows\n", desk->ReferenceBox()->ListCount());
    return 1;
  }
  std::printf("opening with %d bookings: %.1f ms (%.1f ms until drawn)\n", desk->ReferenceBox()->ListCount(),
              bench::Ms(open), bench::Ms(openShown));

  std::vector<double> entries;
  std::vector<double> entriesDrawn;
  for (int i = 0; i < Entries; ++i) {
    const int seller = 1 + (i * 37) % Sellers;
    const int coupon = (seller - 1) * CouponsPerSeller + 1 + BookedPerSeller + i;
    desk->EntryCoupon()->SetText(tk::Str(coupon));
    desk->ValeurCoupon()->SetText(QStringLiteral("12,5"));
    t.restart();
    desk->BevelButton1()->click();
    entries.push_back(bench::Ms(t.nsecsElapsed()));
    QCoreApplication::processEvents();
    entriesDrawn.push_back(bench::Ms(t.nsecsElapsed()));
    if (!desk->EntryCoupon()->Text().isEmpty()) {
      std::fprintf(stderr, "coupon %d not booked: %s\n", coupon, qPrintable(answers->last));
      return 1;
    }
  }
  std::printf("Ajouter, median of %d: %.2f ms (%.2f ms until drawn), slowest %.2f ms\n", Entries,
              bench::Median(entries), bench::Median(entriesDrawn), *std::max_element(entries.begin(), entries.end()));

  std::vector<double> deletions;
  for (int i = 0; i < Deletions; ++i) {
    const int rows = desk->ReferenceBox()->ListCount();
    desk->ReferenceBox()->SetListIndex(rows / 2);
    t.restart();
    desk->BevelButton3()->click();
    deletions.push_back(bench::Ms(t.nsecsElapsed()));
    QCoreApplication::processEvents();
    if (desk->ReferenceBox()->ListCount() != rows - 1) {
      std::fprintf(stderr, "row not deleted: %s\n", qPrintable(answers->last));
      return 1;
    }
  }
  std::printf("Effacer: %.1f ms (median of %d: %.1f ms)\n", deletions.front(), Deletions, bench::Median(deletions));
  std::printf("peak memory (VmHWM): %.1f MB\n", static_cast<double>(bench::PeakKiB()) / 1024.0);

  tk::CloseAllWindows();
  tk::SetDialogSeam(nullptr);
  return 0;
}
