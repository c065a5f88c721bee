#pragma once
// The general results: the final statement of every seller number, from 1
// to the highest code of the seller list, in one file. The treasurer pays
// every seller from it, so each page holds that seller's own data and
// coupons, and nobody else's.

#include <QString>
#include <cstdint>
#include <optional>

#include "rtf/rtfdocument.h"
#include "toolkit/files.h"

// Read in place of the sales file of a number that has none.
inline const QString NullSalesFile = QStringLiteral("vendeur_null.csv");

// How a run ended.
struct ResultsRun {
  enum Ending {
    Written,        // every page and the closing brace: the report is in place
    NoSellerList,   // the seller list cannot be read; nothing written
    CodeTooLarge,   // a code above HighestSellerCode (`code`); nothing written
    CannotWrite,    // the report could not be created or written; an older one is as it was
    SalesUnreadable,  // the sales file of number `stoppedAt` exists but cannot be read: the
                      // report holds the pages before it, closed with its brace
  };
  Ending ending = Written;
  QString code;
  std::int64_t stoppedAt = 0;
  std::int64_t pages = 0;  // pages in the report
};

// Writes the report for the seller list as it is now, at this commission
// rate and with this date on every page. Reads the seller list once; writes
// no program-wide variable. The report takes the place of an older one only
// once it is complete.
ResultsRun WriteGeneralResults(double rate, const QString& date);
