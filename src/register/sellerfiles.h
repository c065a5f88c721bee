#pragma once
// Writing the seller register's two files (their formats are shared by
// every reader).

#include <vector>

#include "core/sellerformat.h"
#include "storage/filechange.h"

// Appends the seller line to the seller list, then the seller's entries to
// the coupon map. False when either could not be written; what reached
// either file is then taken back, so both stay in step (or, when it cannot
// be, the next start finishes the change: storage::GivenUpChange()).
bool AppendSeller(const SellerRecord& seller);

// Replaces the seller list by these sellers' lines, then the coupon map by
// their entries, each through a temporary file and a rename. When the
// coupon map cannot be written it keeps what it held and the seller list is
// put back as it was (Nothing); should that fail too, the change is given
// up, for the next start to finish (Partly).
storage::Replaced ReplaceSellerFiles(const std::vector<SellerRecord>& sellers);

// Empties both seller files (creating them when missing): a new fair.
bool SellerFilesReset();

