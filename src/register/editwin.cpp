#include "register/editwin.h"
#include "register/sellerfiles.h"

#include <algorithm>
#include <array>

#include "core/module1.h"
#include "core/pendingchange.h"
#include "core/rules.h"
#include "core/salesfiles.h"
#include "core/texts.h"
#include "register/sellerchecks.h"
#include "register/sellerfields.h"
#include "toolkit/dialogs.h"
#include "toolkit/files.h"
#include "toolkit/text.h"

using tk::Alignment;
using tk::SmallSystemFont;
using tk::SystemFont;

namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// Each title stands over its column; the postal code has none.
QString columnTitles() {
  return blanks(1) + QStringLiteral("Vendeur") + blanks(23) + QStringLiteral("N° vendeur") + blanks(16) +
         QStringLiteral("Adresse") + blanks(29) + QStringLiteral("E-mail") + blanks(37) + QStringLiteral("Localité") +
         blanks(23) + QStringLiteral("de...") + blanks(4) + QStringLiteral("à....") + blanks(4) +
         QStringLiteral("Bacs") + blanks(2) + QStringLiteral("LEDs");
}

}  // namespace

const tk::WindowSpec& editwin::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Edition du fichier des vendeurs"), 1060, 564,
                                     tk::Placement::Default, QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& editwin::ControlDesign() const {
  static const std::vector<tk::ControlSpec> controls{
      tk::TextFieldSpec("CouponStart", 20, 52, 54, 39).font(SystemFont).tab(0),
      tk::TextFieldSpec("CouponStop", 86, 52, 54, 40).font(SystemFont).tab(1),
      tk::TextFieldSpec("NomVendeur", 20, 107, 227, 44).font(SmallSystemFont).tab(3),
      tk::TextFieldSpec("CodeVendeur", 163, 52, 54, 37).font(SystemFont).noTabStop(2),
      tk::ListboxSpec("ListeVendeurs2", 267, 56, 773, 304)
          .columns(10, "20%,5%,20%,20%,5%,10%,5%,5%,5%,5%").font(SmallSystemFont),
      tk::LabelSpec("StaticText1", 888, 14, 165, 21, "Coupons     Locations").font(SmallSystemFont),
      tk::LabelSpec("StaticText2", 273, 32, 767, 21, columnTitles()).font(SmallSystemFont).makeBold(),
      tk::LabelSpec("StaticText3", 25, 35, 52, 14, "de...").font(SmallSystemFont),
      tk::LabelSpec("StaticText4", 99, 35, 52, 14, "à...").font(SmallSystemFont),
      tk::LabelSpec("StaticText5", 44, 21, 62, 14, "Coupons").font(SmallSystemFont),
      tk::LabelSpec("StaticText6", 25, 94, 52, 15, "Nom").font(SmallSystemFont),
      tk::LabelSpec("StaticText7", 165, 35, 52, 14, "Numéro").font(SmallSystemFont),
      tk::TextFieldSpec("AdresseVendeur", 20, 170, 228, 39).font(SmallSystemFont).tab(4),
      tk::TextFieldSpec("NumPostVendeur", 20, 310, 82, 43).font(SmallSystemFont).tab(6),
      tk::TextFieldSpec("locaquariums", 36, 404, 56, 41, "0").font(SmallSystemFont).align(Alignment::Centre).tab(8),
      tk::TextFieldSpec("locrampes", 130, 403, 49, 43, "0").font(SmallSystemFont).align(Alignment::Centre).tab(9),
      tk::LabelSpec("StaticText8", 20, 147, 52, 31, "Adresse").font(SmallSystemFont),
      tk::LabelSpec("StaticText9", 25, 294, 71, 15, "N° postal").font(SmallSystemFont),
      tk::LabelSpec("StaticText10", 123, 294, 52, 15, "Localité").font(SmallSystemFont),
      tk::LabelSpec("StaticText11", 41, 385, 74, 18, "Aquariums").font(SmallSystemFont),
      tk::LabelSpec("StaticText12", 148, 385, 69, 18, "LEDs").font(SmallSystemFont),
      tk::LabelSpec("StaticText13", 88, 372, 71, 15, "Locations")
          .font(SystemFont).makeBold().makeItalic().makeUnderline(),
      tk::TextFieldSpec("VilleVendeur", 114, 309, 131, 43).font(SmallSystemFont).tab(7),
      tk::LabelSpec("StaticText14", 165, 17, 109, 15, "Vendeur").font(SmallSystemFont),
      tk::BevelButtonSpec("Selectioner", 340, 430, 140, 34, "Sélectionner")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::Selectioner_Action)),
      tk::BevelButtonSpec("modifier", 500, 431, 138, 33, "Modifier")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::modifier_Action)),
      tk::BevelButtonSpec("ajouter", 798, 431, 132, 34, "Ajouter")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::ajouter_Action)),
      tk::BevelButtonSpec("nouveau", 649, 432, 129, 32, "Nouveau")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::nouveau_Action)),
      tk::BevelButtonSpec("abandonner", 596, 477, 114, 27, "Abandonner")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::abandonner_Action)),
      tk::BevelButtonSpec("EnretQuit", 55, 467, 146, 26, "Enregistrer et Quitter")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::EnretQuit_Action)),
      tk::BevelButtonSpec("quitter", 83, 505, 90, 26, "Quitter")
          .font(SmallSystemFont).look(0).noFocus().onAction(tk::On(&editwin::quitter_Action)),
      tk::TextFieldSpec("email", 20, 228, 225, 54).font(SmallSystemFont).tab(5),
      tk::LabelSpec("Label1", 20, 213, 100, 20, "E-Mail").font(SmallSystemFont),
  };
  return controls;
}

void editwin::SetState(State state) {
  // Sélectionner, Modifier, Ajouter, Nouveau, Abandonner, Enregistrer et Quitter, Quitter.
  using Row = std::array<bool, 7>;
  static const Row browsing{true, false, false, true, false, false, true};
  static const Row selected{false, true, false, false, true, false, true};
  static const Row edited{true, false, false, true, false, true, false};
  static const Row newSeller{false, false, true, false, true, false, false};
  Row shown = state == State::Browsing         ? browsing
             : state == State::SellerSelected ? selected
             : state == State::Edited         ? edited
                                              : newSeller;
  // Once a save has been refused the editor can always be left unsaved.
  if (saveRefused_) shown[6] = true;
  const std::array<tk::BevelButton*, 7> buttons{Selectioner(), modifier(),  ajouter(), nouveau(),
                                                abandonner(),  EnretQuit(), quitter()};
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->SetVisible(shown[i]);
}

std::vector<SellerRecord> editwin::ListedSellers(int except) const {
  tk::Listbox* list = ListeVendeurs2();
  std::vector<SellerRecord> sellers;
  sellers.reserve(static_cast<std::size_t>(list->ListCount()));
  for (int row = 0; row < list->ListCount(); ++row) {
    if (row == except) continue;
    SellerRecord s;
    for (int k = 0; k < SellerRecord::FieldCount; ++k) s.fields[static_cast<std::size_t>(k)] = list->Cell(row, k);
    sellers.push_back(s);
  }
  return sellers;
}

void editwin::ClearFields() {
  for (tk::TextField* f : SellerFields(*this)) f->SetText(QString());
}

void editwin::Event_Open() {
  if (!FinishInterruptedChange()) {
    tk::Ref<editwin>().Close();
    return;
  }
  auto in = DataFile(SellerListFile).OpenAsTextFile();
  if (!in) {
    tk::MsgBox(QStringLiteral("Le fichier des vendeurs n'existe pas!"));
    tk::Ref<editwin>().Close();
    return;
  }
  loadedList_ = in->Bytes();
  CsvListLoader(*in, *ListeVendeurs2());
  SetState(State::Browsing);
}

void editwin::Selectioner_Action() {
  tk::Listbox* list = ListeVendeurs2();
  const int row = list->ListIndex();
  Module1::generalfailure = row;
  if (row == -1) {
    tk::MsgBox(QStringLiteral("Aucun vendeur n'a été sélectionné!"));
    return;
  }
  const SellerFieldList fields = SellerFields(*this);
  for (std::size_t k = 0; k < fields.size(); ++k) fields[k]->SetText(list->Cell(row, static_cast<int>(k)));
  SetState(State::SellerSelected);
}

void editwin::modifier_Action() {
  tk::Listbox* list = ListeVendeurs2();
  const std::int64_t recorded = Module1::generalfailure;
  if (recorded < 0 || recorded >= list->ListCount()) return;
  const int row = static_cast<int>(recorded);
  const SellerRecord typed = TypedSeller(SellerFields(*this));
  const QString refusal = SellerRefusal(typed, ListedSellers(row));
  if (!refusal.isEmpty()) {
    tk::MsgBox(refusal);
    return;
  }
  for (int k = 0; k < SellerRecord::FieldCount; ++k) list->SetCell(row, k, typed.fields[static_cast<std::size_t>(k)]);
  ClearFields();
  SetState(State::Edited);
}

void editwin::ajouter_Action() {
  const SellerRecord typed = TypedSeller(SellerFields(*this));
  const QString refusal = SellerRefusal(typed, ListedSellers());
  if (!refusal.isEmpty()) {
    tk::MsgBox(refusal);
    return;
  }
  tk::Listbox* list = ListeVendeurs2();
  list->AddRow(typed[SellerRecord::Name]);
  for (int k = 1; k < SellerRecord::FieldCount; ++k)
    list->SetCell(list->LastIndex(), k, typed.fields[static_cast<std::size_t>(k)]);
  ClearFields();
  SetState(State::Edited);
}

void editwin::nouveau_Action() {
  // SellerNumber stays below 2^63, so adding 1 cannot overflow.
  std::int64_t highestCode = 0;
  std::int64_t highestLast = 0;
  tk::Listbox* list = ListeVendeurs2();
  for (int row = 0; row < list->ListCount(); ++row) {
    highestCode = std::max(highestCode, SellerNumber(list->Cell(row, SellerRecord::Code)));
    highestLast = std::max(highestLast, SellerNumber(list->Cell(row, SellerRecord::LastCoupon)));
  }
  NomVendeur()->SetText(QString());
  CodeVendeur()->SetText(tk::Str(highestCode + 1));
  for (tk::TextField* f : {AdresseVendeur(), email(), NumPostVendeur(), VilleVendeur()}) f->SetText(QString());
  CouponStart()->SetText(tk::Str(highestLast + 1));
  CouponStop()->SetText(QString());
  locaquariums()->SetText(QStringLiteral("0"));
  locrampes()->SetText(QStringLiteral("0"));
  tk::MsgBox(QStringLiteral("Entrez les coordonnées du nouveau vendeur puis cliquez sur \"Ajouter\""));
  SetState(State::NewSeller);
}

void editwin::abandonner_Action() {
  ClearFields();
  SetState(State::Edited);
}

void editwin::EnretQuit_Action() {
  const auto now = DataFile(SellerListFile).OpenAsTextFile();
  if (!now || now->Bytes() != loadedList_) {
    refuseSave(QStringLiteral(
        "Le fichier des vendeurs a été modifié depuis l'ouverture de l'éditeur! Quittez l'éditeur et rouvrez-le."));
    return;
  }
  const std::vector<SellerRecord> sellers = ListedSellers();
  // A range beyond any fair (a row loaded from an older file) would take
  // hours and the whole disk to write out.
  for (const SellerRecord& s : sellers) {
    if (CouponEntryCount(s) > MaxCouponsWritten) {
      refuseSave(QStringLiteral("Les coupons ") + s[SellerRecord::FirstCoupon] + QStringLiteral(" à ") +
                 s[SellerRecord::LastCoupon] + QStringLiteral(" de ") + s[SellerRecord::Name] +
                 QStringLiteral(" sont trop nombreux pour être enregistrés! Corrigez-les avec \"Sélectionner\" puis "
                                "\"Modifier\"."));
      return;
    }
  }
  if (ReplaceSellerFiles(sellers) != tk::Replaced::All) {
    refuseSave(FailedChangeMessage(CannotWriteChangedFile));
    return;
  }
  SetState(State::Browsing);
  tk::Ref<editwin>().Close();
}

void editwin::refuseSave(const QString& message) {
  tk::MsgBox(message);
  saveRefused_ = true;
  SetState(State::Edited);
}

void editwin::quitter_Action() { tk::Ref<editwin>().Close(); }
