#pragma once
// The seller cards: one landscape page per seller of the seller list, to
// hang above the seller's place at the fair.

#include <optional>
#include <vector>

#include "core/sellerformat.h"
#include "toolkit/files.h"

// Writes the cards file, a card per seller in the order given: name,
// e-mail, address, postal code and town, code and coupon range (never the
// rentals). Replaces an older file only once it is complete; none, and
// the older file left as it was, when it cannot be written.
std::optional<tk::FolderItem> WriteSellerCards(const std::vector<SellerRecord>& sellers);
