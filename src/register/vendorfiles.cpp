#include "register/vendorfiles.h"

#include "register/sellerfields.h"
#include "toolkit/dialogs.h"
#include "ui/warnings.h"

using tk::Alignment;
using tk::SmallSystemFont;
using tk::SystemFont;

const tk::WindowSpec& VendorFiles::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Création des fichies vendeurs"), 524, 457,
                                     tk::Placement::Default, QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& VendorFiles::ControlDesign() const {
  static const std::vector<tk::ControlSpec> controls{
      tk::PushButtonSpec("PushButton1", 423, 369, 81, 38, "Fermer")
          .font(SmallSystemFont).makeBold().noTabStop(10).onAction(tk::On(&VendorFiles::PushButton1_Action)),
      tk::TextFieldSpec("CouponStart", 25, 38, 54, 38).font(SmallSystemFont).tab(0),
      tk::TextFieldSpec("CouponStop", 92, 38, 54, 40).font(SmallSystemFont).tab(1),
      tk::TextFieldSpec("NomVendeur", 25, 93, 120, 40).font(SmallSystemFont).tab(2),
      tk::TextFieldSpec("CodeVendeur", 168, 38, 54, 42).font(SmallSystemFont).tab(6),
      tk::ListboxSpec("ListeVendeurs", 272, 42, 232, 313)
          .columns(4, "15%,15%,60%,10%").font(SmallSystemFont).noTabStop(11),
      tk::BevelButtonSpec("BevelButton1", 157, 96, 96, 28, "Ajouter")
          .font(SmallSystemFont).tab(9).onAction(tk::On(&VendorFiles::BevelButton1_Action)),
      tk::LabelSpec("StaticText1", 278, 0, 202, 21, "coupons").font(SystemFont),
      tk::LabelSpec("StaticText2", 278, 18, 226, 21, "de..   à...   Vendeur               code").font(SmallSystemFont),
      tk::LabelSpec("StaticText3", 30, 21, 52, 14, "de...").font(SmallSystemFont),
      tk::LabelSpec("StaticText4", 104, 21, 52, 14, "à...").font(SmallSystemFont),
      tk::LabelSpec("StaticText5", 49, 7, 52, 14, "Coupons").font(SmallSystemFont),
      tk::LabelSpec("StaticText6", 25, 70, 52, 37, "Nom").font(SmallSystemFont),
      tk::LabelSpec("StaticText7", 170, 21, 52, 14, "Numéro").font(SmallSystemFont),
      tk::TextFieldSpec("AdresseVendeur", 25, 144, 228, 45).font(SmallSystemFont).tab(3),
      tk::TextFieldSpec("NumPostVendeur", 25, 292, 82, 45).font(SmallSystemFont).tab(5),
      tk::TextFieldSpec("locaquariums", 20, 396, 53, 39, "0").font(SmallSystemFont).align(Alignment::Centre).tab(7),
      tk::TextFieldSpec("locrampes", 111, 396, 49, 39, "0").font(SmallSystemFont).align(Alignment::Centre).tab(8),
      tk::LabelSpec("StaticText8", 25, 132, 52, 15, "Adresse").font(SmallSystemFont),
      tk::LabelSpec("StaticText9", 28, 273, 71, 15, "N° postal").font(SmallSystemFont),
      tk::LabelSpec("StaticText10", 126, 273, 52, 15, "Localité").font(SmallSystemFont),
      tk::LabelSpec("StaticText11", 20, 377, 71, 15, "Aquariums").font(SmallSystemFont),
      tk::LabelSpec("StaticText12", 118, 377, 37, 15, "LEDs").font(SmallSystemFont),
      tk::LabelSpec("StaticText13", 64, 361, 71, 15, "Locations")
          .font(SmallSystemFont).makeBold().makeItalic().makeUnderline(),
      tk::TextFieldSpec("VilleVendeur", 119, 291, 131, 45).font(SmallSystemFont).tab(6),
      tk::LabelSpec("StaticText14", 170, 3, 109, 15, "Vendeur").font(SmallSystemFont),
      tk::TextFieldSpec("email", 25, 206, 227, 50).font(SmallSystemFont).tab(4),
      tk::LabelSpec("Label1", 25, 192, 100, 20, "E-Mail").font(SmallSystemFont),
  };
  return controls;
}

void VendorFiles::Event_Open() {
  if (!UnfinishedChangeSettled()) {
    tk::Ref<VendorFiles>().Close();
    return;
  }
  const SellerRegister::Step start = register_.StartAfresh();
  ShowSeller(SellerFields(*this), *start.fields);
  for (const QString& message : start.messages) tk::MsgBox(message);
  if (!start.done) tk::Ref<VendorFiles>().Close();
}

void VendorFiles::PushButton1_Action() { tk::Ref<VendorFiles>().Close(); }

void VendorFiles::BevelButton1_Action() {
  const SellerRegister::Step added = register_.AddAtCreation(TypedSeller(SellerFields(*this)));
  for (const QString& message : added.messages) tk::MsgBox(message);
  if (!added.done) return;
  // The list shows each seller's range, name and code.
  const SellerRecord& s = register_.Sellers()[static_cast<std::size_t>(added.row)];
  ListeVendeurs()->AddRow(
      {s[SellerRecord::FirstCoupon], s[SellerRecord::LastCoupon], s[SellerRecord::Name], s[SellerRecord::Code]});
  ShowSeller(SellerFields(*this), *added.fields);
}
