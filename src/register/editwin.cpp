#include "register/editwin.h"

#include <array>

#include "register/sellerfields.h"
#include "toolkit/dialogs.h"
#include "ui/warnings.h"

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

// A seller as a row of the list: column k holds field k.
QStringList cells(const SellerRecord& s) { return QStringList(s.fields.begin(), s.fields.end()); }

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
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::Selectioner_Action)),
      tk::BevelButtonSpec("modifier", 500, 431, 138, 33, "Modifier")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::modifier_Action)),
      tk::BevelButtonSpec("ajouter", 798, 431, 132, 34, "Ajouter")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::ajouter_Action)),
      tk::BevelButtonSpec("nouveau", 649, 432, 129, 32, "Nouveau")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::nouveau_Action)),
      tk::BevelButtonSpec("abandonner", 596, 477, 114, 27, "Abandonner")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::abandonner_Action)),
      tk::BevelButtonSpec("EnretQuit", 55, 467, 146, 26, "Enregistrer et Quitter")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::EnretQuit_Action)),
      tk::BevelButtonSpec("quitter", 83, 505, 90, 26, "Quitter")
          .font(SmallSystemFont).noFocus().onAction(tk::On(&editwin::quitter_Action)),
      tk::TextFieldSpec("email", 20, 228, 225, 54).font(SmallSystemFont).tab(5),
      tk::LabelSpec("Label1", 20, 213, 100, 20, "E-Mail").font(SmallSystemFont),
  };
  return controls;
}

void editwin::show(const SellerRegister::Step& step) {
  if (step.row >= 0) showRow(step.row);
  if (step.fields) ShowSeller(SellerFields(*this), *step.fields);
  for (const QString& message : step.messages) tk::MsgBox(message);
  showButtons();
}

void editwin::showRow(int row) {
  tk::Listbox* list = ListeVendeurs2();
  const QStringList texts = cells(register_.Sellers()[static_cast<std::size_t>(row)]);
  if (row == list->ListCount()) {
    list->AddRow(texts);
    return;
  }
  for (int k = 0; k < texts.size(); ++k) list->SetCell(row, k, texts.at(k));
}

void editwin::showButtons() {
  const SellerRegister::Offer offer = register_.Offered();
  const std::array<std::pair<tk::BevelButton*, bool>, 7> buttons{{{Selectioner(), offer.select},
                                                                 {modifier(), offer.modify},
                                                                 {ajouter(), offer.add},
                                                                 {nouveau(), offer.newSeller},
                                                                 {abandonner(), offer.abandon},
                                                                 {EnretQuit(), offer.save},
                                                                 {quitter(), offer.quit}}};
  for (const auto& [button, shown] : buttons) button->SetVisible(shown);
}

void editwin::Event_Open() {
  if (!UnfinishedChangeSettled()) {
    tk::Ref<editwin>().Close();
    return;
  }
  const QString failure = register_.Load();
  if (!failure.isEmpty()) {
    tk::MsgBox(failure);
    tk::Ref<editwin>().Close();
    return;
  }
  for (const SellerRecord& s : register_.Sellers()) ListeVendeurs2()->AddRow(cells(s));
  showButtons();
}

void editwin::Selectioner_Action() { show(register_.Select(ListeVendeurs2()->ListIndex())); }

void editwin::modifier_Action() { show(register_.Modify(TypedSeller(SellerFields(*this)))); }

void editwin::ajouter_Action() { show(register_.Add(TypedSeller(SellerFields(*this)))); }

void editwin::nouveau_Action() { show(register_.NewSeller()); }

void editwin::abandonner_Action() { show(register_.Abandon()); }

void editwin::EnretQuit_Action() {
  const SellerRegister::Step save = register_.Save();
  show(save);
  if (save.done) tk::Ref<editwin>().Close();
}

void editwin::quitter_Action() { tk::Ref<editwin>().Close(); }
