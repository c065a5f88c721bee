#pragma once
// What a seller typed into the creation window or the editor must be before
// it is registered: whatever is registered is what the desk books against
// for the whole fair, so a typing error is stopped here.

#include <QString>
#include <cstdint>
#include <vector>

#include "core/sellerformat.h"

inline constexpr std::uint64_t MaxCouponsPerSeller = 10000;
// What the editor still writes out for a row it loaded that breaks the
// checks; a range beyond this is no real seller's (a mistyped older file).
inline constexpr std::uint64_t MaxCouponsWritten = 1000000;

// The message that refuses the typed seller, or an empty text when it may
// be registered beside `others` (the sellers already registered; for a
// change, all of them but the one being changed). Only the typed seller is
// checked: the others are taken as they stand.
QString SellerRefusal(const SellerRecord& typed, const std::vector<SellerRecord>& others);
