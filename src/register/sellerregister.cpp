#include "register/sellerregister.h"

#include <algorithm>

#include "core/module1.h"
#include "core/unfinishedchange.h"
#include "core/salesfiles.h"
#include "core/texts.h"
#include "register/sellerchecks.h"
#include "register/sellerfiles.h"
#include "toolkit/files.h"
#include "toolkit/text.h"

namespace {

using Step = SellerRegister::Step;

const QString NoSellerList = QStringLiteral("Le fichier des vendeurs n'existe pas!");
const QString NoSellerSelected = QStringLiteral("Aucun vendeur n'a été sélectionné!");
const QString EnterNewSeller =
    QStringLiteral("Entrez les coordonnées du nouveau vendeur puis cliquez sur \"Ajouter\"");
const QString ListChangedSinceLoaded = QStringLiteral(
    "Le fichier des vendeurs a été modifié depuis l'ouverture de l'éditeur! Quittez l'éditeur et rouvrez-le.");
const QString CannotReset = QStringLiteral("Impossible de remettre à zéro les fichiers vendeurs!");

QString tooManyCoupons(const SellerRecord& s) {
  return QStringLiteral("Les coupons ") + s[SellerRecord::FirstCoupon] + QStringLiteral(" à ") +
         s[SellerRecord::LastCoupon] + QStringLiteral(" de ") + s[SellerRecord::Name] +
         QStringLiteral(" sont trop nombreux pour être enregistrés! Corrigez-les avec \"Sélectionner\" puis "
                        "\"Modifier\".");
}

// Nothing done, and why.
Step refused(const QString& message) { return {false, -1, std::nullopt, {message}}; }

// The fields as a new seller starts: every text empty, no tank or LED ramp rented.
SellerRecord blankSeller() {
  SellerRecord s;
  s[SellerRecord::Tanks] = QStringLiteral("0");
  s[SellerRecord::LedRamps] = QStringLiteral("0");
  return s;
}

// SellerNumber stays below 2^63, so adding 1 cannot overflow.
QString oneAbove(std::int64_t n) { return tk::Str(n + 1); }

}  // namespace

QString SellerRegister::Load() {
  auto in = DataFile(SellerListFile).OpenAsTextFile();
  if (!in) return NoSellerList;
  loaded_ = in->Bytes();
  sellers_ = SellerListRecords(loaded_);
  state_ = State::Browsing;
  return QString();
}

Step SellerRegister::Select(int row) {
  Module1::generalfailure = row;
  if (row < 0 || row >= static_cast<int>(sellers_.size())) return refused(NoSellerSelected);
  state_ = State::SellerSelected;
  return {true, -1, sellers_[static_cast<std::size_t>(row)], {}};
}

Step SellerRegister::Modify(const SellerRecord& typed) {
  const std::int64_t recorded = Module1::generalfailure;
  if (recorded < 0 || recorded >= static_cast<std::int64_t>(sellers_.size())) return {};
  const auto row = static_cast<std::size_t>(recorded);
  std::vector<SellerRecord> others = sellers_;
  others.erase(others.begin() + static_cast<std::ptrdiff_t>(row));
  const QString refusal = SellerRefusal(typed, others);
  if (!refusal.isEmpty()) return refused(refusal);
  sellers_[row] = typed;
  state_ = State::Edited;
  return {true, static_cast<int>(row), SellerRecord(), {}};
}

Step SellerRegister::Add(const SellerRecord& typed) {
  const QString refusal = SellerRefusal(typed, sellers_);
  if (!refusal.isEmpty()) return refused(refusal);
  sellers_.push_back(typed);
  state_ = State::Edited;
  return {true, static_cast<int>(sellers_.size()) - 1, SellerRecord(), {}};
}

Step SellerRegister::NewSeller() {
  std::int64_t highestCode = 0;
  std::int64_t highestLast = 0;
  for (const SellerRecord& s : sellers_) {
    highestCode = std::max(highestCode, SellerNumber(s[SellerRecord::Code]));
    highestLast = std::max(highestLast, SellerNumber(s[SellerRecord::LastCoupon]));
  }
  SellerRecord next = blankSeller();
  next[SellerRecord::Code] = oneAbove(highestCode);
  next[SellerRecord::FirstCoupon] = oneAbove(highestLast);
  state_ = State::NewSeller;
  return {true, -1, next, {EnterNewSeller}};
}

Step SellerRegister::Abandon() {
  state_ = State::Edited;
  return {true, -1, SellerRecord(), {}};
}

Step SellerRegister::Save() {
  // A change this run could not take back comes first: until the next start
  // nothing more is written.
  if (!storage::GivenUpChange().isEmpty()) return refuseSave(FailedChangeMessage(CannotWriteChangedFile));
  const auto now = DataFile(SellerListFile).OpenAsTextFile();
  if (!now || now->Bytes() != loaded_) return refuseSave(ListChangedSinceLoaded);
  // A range beyond any fair (a row loaded from an older file) would take
  // hours and the whole disk to write out.
  for (const SellerRecord& s : sellers_)
    if (CouponEntryCount(s) > MaxCouponsWritten) return refuseSave(tooManyCoupons(s));
  return saved(ReplaceSellerFiles(sellers_));
}

Step SellerRegister::saved(storage::Replaced done) {
  switch (done) {
    case storage::Replaced::All:
      state_ = State::Browsing;
      return {true, -1, std::nullopt, {}};
    case storage::Replaced::Nothing:
    case storage::Replaced::Partly:  // given up: the next start finishes it
      break;
  }
  return refuseSave(FailedChangeMessage(CannotWriteChangedFile));
}

Step SellerRegister::refuseSave(const QString& message) {
  saveRefused_ = true;
  state_ = State::Edited;
  return refused(message);
}

SellerRegister::Offer SellerRegister::Offered() const {
  //                              select modify add    new    abandon save   quit
  static const Offer browsing{true, false, false, true, false, false, true};
  static const Offer selected{false, true, false, false, true, false, true};
  static const Offer edited{true, false, false, true, false, true, false};
  static const Offer newSeller{false, false, true, false, true, false, false};
  Offer offer = state_ == State::Browsing         ? browsing
                : state_ == State::SellerSelected ? selected
                : state_ == State::Edited         ? edited
                                                  : newSeller;
  // Once a save has been refused the editor can always be left unsaved.
  if (saveRefused_) offer.quit = true;
  return offer;
}

Step SellerRegister::StartAfresh() {
  sellers_.clear();
  SellerRecord first = blankSeller();
  first[SellerRecord::Code] = QStringLiteral("1");
  first[SellerRecord::FirstCoupon] = QStringLiteral("1");
  if (!SellerFilesReset()) return {false, -1, first, {FailedChangeMessage(CannotReset)}};
  return {true, -1, first, {}};
}

Step SellerRegister::AddAtCreation(const SellerRecord& typed) {
  // The seller editor may have saved since this window listed its rows: the
  // seller list on disk counts as well.
  std::vector<SellerRecord> others = sellers_;
  if (auto registered = ReadSellerList()) others.insert(others.end(), registered->begin(), registered->end());
  const QString refusal = SellerRefusal(typed, others);
  if (!refusal.isEmpty()) return refused(refusal);
  if (!AppendSeller(typed)) return refused(FailedChangeMessage(ProblemCreatingTextFile));
  sellers_.push_back(typed);

  // The next seller's range starts after this one, and its code follows.
  SellerRecord next = blankSeller();
  next[SellerRecord::Code] = oneAbove(SellerNumber(typed[SellerRecord::Code]));
  next[SellerRecord::FirstCoupon] = oneAbove(SellerNumber(typed[SellerRecord::LastCoupon]));
  return {true, static_cast<int>(sellers_.size()) - 1, next, {}};
}
