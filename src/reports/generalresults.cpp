#include "reports/generalresults.h"

#include <map>
#include <vector>

#include "core/accounts.h"
#include "core/rules.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "rtf/rtfdocument.h"
#include "rtf/sellerstatement.h"
#include "rtf/statementwriter.h"
#include "toolkit/text.h"

namespace {

// What the pages need of the seller list, from its one reading: the highest
// number, and for each number the last line whose code reads as it.
struct SellerPages {
  std::int64_t highest = 0;
  QString tooLarge;  // the first code beyond what the register gives
  std::map<std::int64_t, SellerRecord> lines;
};

std::optional<SellerPages> readSellerPages() {
  const auto sellers = ReadSellerList();
  if (!sellers) return std::nullopt;
  SellerPages pages;
  for (const SellerRecord& seller : *sellers) {
    const QString& code = seller[SellerRecord::Code];
    const std::int64_t number = SellerNumber(code);
    if (number > HighestSellerCode && pages.tooLarge.isEmpty()) pages.tooLarge = code;
    if (number < 1) continue;
    pages.highest = std::max(pages.highest, number);
    pages.lines[number] = seller;
  }
  return pages;
}

// The coupons of a number: its sales file, or the placeholder "0,0" when it
// has none. Nothing when the file is there but cannot be read.
std::optional<SellerSales> salesOf(std::int64_t number, bool& placeholderTried) {
  const tk::FolderItem file = DataFile(SellerSalesFile(number));
  if (!file.Exists()) {
    // The placeholder file is written for those who look for it, once a run:
    // each write is a synced replacement, and one per number held a list
    // with a high code for half a minute. The page does not depend on it.
    if (!placeholderTried) {
      placeholderTried = true;
      DataFile(NullSalesFile).ReplaceWithLines({QStringLiteral("0,0")});
    }
    SellerSales none;
    none.rows.push_back({QStringLiteral("0"), AmountFormatter(QStringLiteral("0"))});
    return none;
  }
  SellerSales sales = LoadSellerSales(file);
  if (sales.missing) return std::nullopt;
  return sales;
}

// The page of a number: the data of its own seller line (none: empty) under
// the number, its own coupons, and the account worked out from them.
SellerStatement pageOf(std::int64_t number, const SellerRecord* line, const SellerSales& sales, double rate,
                       const QString& date) {
  SellerRecord seller = line ? *line : SellerRecord{};
  seller[SellerRecord::Code] = tk::Str(number);
  const SellerAccount account =
      SellerTotals(sales.gross, seller[SellerRecord::Tanks], seller[SellerRecord::LedRamps], rate);
  return StatementOf(seller, sales.rows, account, date);
}

}  // namespace

ResultsRun WriteGeneralResults(double rate, const QString& date) {
  ResultsRun run;
  const std::optional<SellerPages> sellers = readSellerPages();
  if (!sellers) {
    run.ending = ResultsRun::NoSellerList;
    return run;
  }
  if (!sellers->tooLarge.isEmpty()) {
    run.ending = ResultsRun::CodeTooLarge;
    run.code = sellers->tooLarge;
    return run;
  }

  auto out = DataFile(GeneralResultsFile).CreateTextFile();
  if (!out) {
    run.ending = ResultsRun::CannotWrite;
    return run;
  }
  bool ok = WriteRtfHeader(*out, RtfDocument::GeneralResults);
  bool placeholderTried = false;
  for (std::int64_t number = 1; ok && number <= sellers->highest; ++number) {
    const std::optional<SellerSales> sales = salesOf(number, placeholderTried);
    if (!sales) {
      run.ending = ResultsRun::SalesUnreadable;
      run.stoppedAt = number;
      break;
    }
    const auto line = sellers->lines.find(number);
    const SellerStatement page =
        pageOf(number, line == sellers->lines.end() ? nullptr : &line->second, *sales, rate, date);
    ok = StatementWriter(*out, page, StatementBlock::ResultsPage) && WriteResultsPageEnd(*out);
    if (ok) ++run.pages;
  }
  ok = ok && WriteRtfEnd(*out);
  if (!out->Close() || !ok) {
    run.ending = ResultsRun::CannotWrite;
    run.pages = 0;
  }
  return run;
}
