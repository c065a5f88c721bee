#pragma once
// The seller-file creation window: at the start of a fair it empties both
// seller files, then registers the sellers typed one after the other. The
// rules are the register model's; the handlers move texts between the
// controls and it.

#include <vector>

#include "register/sellerregister.h"
#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class VendorFiles : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::PushButton* PushButton1() const { return control<tk::PushButton>(QStringLiteral("PushButton1")); }
  tk::TextField* CouponStart() const { return control<tk::TextField>(QStringLiteral("CouponStart")); }
  tk::TextField* CouponStop() const { return control<tk::TextField>(QStringLiteral("CouponStop")); }
  tk::TextField* NomVendeur() const { return control<tk::TextField>(QStringLiteral("NomVendeur")); }
  tk::TextField* CodeVendeur() const { return control<tk::TextField>(QStringLiteral("CodeVendeur")); }
  tk::Listbox* ListeVendeurs() const { return control<tk::Listbox>(QStringLiteral("ListeVendeurs")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::Label* StaticText1() const { return control<tk::Label>(QStringLiteral("StaticText1")); }
  tk::Label* StaticText2() const { return control<tk::Label>(QStringLiteral("StaticText2")); }
  tk::Label* StaticText3() const { return control<tk::Label>(QStringLiteral("StaticText3")); }
  tk::Label* StaticText4() const { return control<tk::Label>(QStringLiteral("StaticText4")); }
  tk::Label* StaticText5() const { return control<tk::Label>(QStringLiteral("StaticText5")); }
  tk::Label* StaticText6() const { return control<tk::Label>(QStringLiteral("StaticText6")); }
  tk::Label* StaticText7() const { return control<tk::Label>(QStringLiteral("StaticText7")); }
  tk::TextField* AdresseVendeur() const { return control<tk::TextField>(QStringLiteral("AdresseVendeur")); }
  tk::TextField* NumPostVendeur() const { return control<tk::TextField>(QStringLiteral("NumPostVendeur")); }
  tk::TextField* locaquariums() const { return control<tk::TextField>(QStringLiteral("locaquariums")); }
  tk::TextField* locrampes() const { return control<tk::TextField>(QStringLiteral("locrampes")); }
  tk::Label* StaticText8() const { return control<tk::Label>(QStringLiteral("StaticText8")); }
  tk::Label* StaticText9() const { return control<tk::Label>(QStringLiteral("StaticText9")); }
  tk::Label* StaticText10() const { return control<tk::Label>(QStringLiteral("StaticText10")); }
  tk::Label* StaticText11() const { return control<tk::Label>(QStringLiteral("StaticText11")); }
  tk::Label* StaticText12() const { return control<tk::Label>(QStringLiteral("StaticText12")); }
  tk::Label* StaticText13() const { return control<tk::Label>(QStringLiteral("StaticText13")); }
  tk::TextField* VilleVendeur() const { return control<tk::TextField>(QStringLiteral("VilleVendeur")); }
  tk::Label* StaticText14() const { return control<tk::Label>(QStringLiteral("StaticText14")); }
  tk::TextField* email() const { return control<tk::TextField>(QStringLiteral("email")); }
  tk::Label* Label1() const { return control<tk::Label>(QStringLiteral("Label1")); }

  void PushButton1_Action();
  void BevelButton1_Action();

 protected:
  void Event_Open() override;

 private:
  // The sellers added since the opening, as the list shows them.
  SellerRegister register_;
};
