#pragma once
// The seller cards: one landscape page per seller of the seller list, to
// hang above the seller's place at the fair.

#include <QStringList>
#include <optional>
#include <vector>

#include "rtf/rtfdocument.h"
#include "toolkit/files.h"

// What a card shows of a seller: the first nine fields of a seller line
// (name, code, address, e-mail, postal code, town, first and last coupon,
// tanks), trimmed; a short line gives empty texts for the fields it lacks.
inline constexpr int SellerCardColumns = 9;

// The seller list's lines as card rows, in file order. None when the list
// cannot be read.
std::optional<std::vector<QStringList>> ReadSellerCardRows();

// Writes the cards file for these rows, replacing an older one only once it
// is complete. None, and the older file left as it was, when it cannot be
// written.
std::optional<tk::FolderItem> WriteSellerCards(const std::vector<QStringList>& rows);
