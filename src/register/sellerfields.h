#pragma once
// Both seller windows hold the seller being typed in ten text fields of the
// same names.

#include <array>

#include "core/sellerformat.h"
#include "toolkit/controls.h"

using SellerFieldList = std::array<tk::TextField*, SellerRecord::FieldCount>;

// The ten fields of a seller window W, in seller-line order.
template <class W>
SellerFieldList SellerFields(const W& w) {
  return {w.NomVendeur(),   w.CodeVendeur(), w.AdresseVendeur(), w.email(),        w.NumPostVendeur(),
          w.VilleVendeur(), w.CouponStart(), w.CouponStop(),     w.locaquariums(), w.locrampes()};
}

// The seller as typed, every field read as it stands.
inline SellerRecord TypedSeller(const SellerFieldList& fields) {
  SellerRecord s;
  for (std::size_t k = 0; k < fields.size(); ++k) s.fields[k] = fields[k]->Text();
  return s;
}

// Shows the seller in the fields, every text as it stands.
inline void ShowSeller(const SellerFieldList& fields, const SellerRecord& s) {
  for (std::size_t k = 0; k < fields.size(); ++k) fields[k]->SetText(s.fields[k]);
}
