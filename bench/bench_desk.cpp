// Times the desk on a large fair: 200 sellers of 500 coupons each (a coupon
// map of 100,000 lines) and a journal of 20,000 bookings. Builds the fair in
// a temporary folder and drives the desk's real handlers.
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_desk
// Measure a Release build.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

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

void writeFile(const QString& name, const QByteArray& content) {
  QFile f(name);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    std::exit(1);
  }
}

QString amountOf(int coupon) { return tk::Str(static_cast<double>(coupon % 4000) / 100.0 + 1.0); }

void buildFair() {
  QByteArray sellers;
  QByteArray map;
  QByteArray journal;
  for (const QString& h : JournalHeader(QStringLiteral("4/3/2025"))) journal += h.toUtf8() + '\n';
  std::vector<QByteArray> sales(Sellers + 1);
  for (int s = 1; s <= Sellers; ++s) {
    SellerRecord r;
    r[SellerRecord::Name] = QStringLiteral("Aquariophile n°%1").arg(s);
    r[SellerRecord::Code] = tk::Str(s);
    r[SellerRecord::Address] = QStringLiteral("Rue des Poissons %1").arg(s);
    r[SellerRecord::PostalCode] = QStringLiteral("1000");
    r[SellerRecord::Town] = QStringLiteral("Ville");
    r[SellerRecord::FirstCoupon] = tk::Str((s - 1) * CouponsPerSeller + 1);
    r[SellerRecord::LastCoupon] = tk::Str(s * CouponsPerSeller);
    r[SellerRecord::Tanks] = QStringLiteral("1");
    r[SellerRecord::LedRamps] = QStringLiteral("0");
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
      const QString amount = amountOf(coupon);
      journal += JournalEntry{tk::Str(coupon), amount, QStringLiteral("Aquariophile n°%1").arg(s), tk::Str(s)}
                     .Line()
                     .toUtf8() +
                 '\n';
      sales[static_cast<std::size_t>(s)] += SaleEntry{tk::Str(coupon), amount}.Line().toUtf8() + '\n';
    }
  }
  writeFile(SellerListFile, sellers);
  writeFile(CouponMapFile, map);
  writeFile(SalesJournalFile(2025), journal);
  writeFile(RateFile, "0.1\n");
  for (int s = 1; s <= Sellers; ++s) writeFile(SellerSalesFile(s), sales[static_cast<std::size_t>(s)]);
  std::printf("fair: %d sellers, coupon map %lld bytes, journal %lld bytes\n", Sellers,
              static_cast<long long>(map.size()), static_cast<long long>(journal.size()));
}

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

long peakKiB() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // the figures print with a point whatever the desktop's locale
  QTemporaryDir dir;
  if (!dir.isValid() || !QDir::setCurrent(dir.path())) return 1;
  auto answers = std::make_shared<Answers>();
  tk::SetDialogSeam(answers);
  tk::SetClock([] { return tk::Date{5, 3, 2025}; });
  tk::SetQuitHandler([answers](int code) {
    std::fprintf(stderr, "the desk ended the run (%d): %s\n", code, qPrintable(answers->last));
    std::exit(1);
  });
  Module1::Initialise();
  buildFair();
  std::printf("memory before the desk: %ld KiB\n", peakKiB());

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
              ms(open), ms(openShown));

  std::vector<double> entries;
  std::vector<double> entriesDrawn;
  for (int i = 0; i < Entries; ++i) {
    const int seller = 1 + (i * 37) % Sellers;
    const int coupon = (seller - 1) * CouponsPerSeller + 1 + BookedPerSeller + i;
    desk->EntryCoupon()->SetText(tk::Str(coupon));
    desk->ValeurCoupon()->SetText(QStringLiteral("12,5"));
    t.restart();
    desk->BevelButton1()->click();
    entries.push_back(ms(t.nsecsElapsed()));
    QCoreApplication::processEvents();
    entriesDrawn.push_back(ms(t.nsecsElapsed()));
    if (!desk->EntryCoupon()->Text().isEmpty()) {
      std::fprintf(stderr, "coupon %d not booked: %s\n", coupon, qPrintable(answers->last));
      return 1;
    }
  }
  std::printf("Ajouter, median of %d: %.2f ms (%.2f ms until drawn), slowest %.2f ms\n", Entries, median(entries),
              median(entriesDrawn), *std::max_element(entries.begin(), entries.end()));

  std::vector<double> deletions;
  for (int i = 0; i < Deletions; ++i) {
    const int rows = desk->ReferenceBox()->ListCount();
    desk->ReferenceBox()->SetListIndex(rows / 2);
    t.restart();
    desk->BevelButton3()->click();
    deletions.push_back(ms(t.nsecsElapsed()));
    QCoreApplication::processEvents();
    if (desk->ReferenceBox()->ListCount() != rows - 1) {
      std::fprintf(stderr, "row not deleted: %s\n", qPrintable(answers->last));
      return 1;
    }
  }
  std::printf("Effacer: %.1f ms (median of %d: %.1f ms)\n", deletions.front(), Deletions, median(deletions));
  std::printf("peak memory (VmHWM): %.1f MB\n", static_cast<double>(peakKiB()) / 1024.0);

  tk::CloseAllWindows();
  tk::SetDialogSeam(nullptr);
  return 0;
}
