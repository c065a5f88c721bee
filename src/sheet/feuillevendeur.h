#pragma once
// The seller sheet: one seller's coupons, in coupon-number order, and the
// seller's account. It is filled once, when it is built, for the current
// seller; nothing chosen or booked afterwards reaches it.

#include <QString>
#include <vector>

#include "core/accounts.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class FeuilleVendeur : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::Listbox* CouponsVendeur() const { return control<tk::Listbox>(QStringLiteral("CouponsVendeur")); }
  tk::Label* StaticText1() const { return control<tk::Label>(QStringLiteral("StaticText1")); }
  tk::TextField* TotalBrut() const { return control<tk::TextField>(QStringLiteral("TotalBrut")); }
  tk::TextField* Kommision() const { return control<tk::TextField>(QStringLiteral("Kommision")); }
  tk::TextField* TotalNet() const { return control<tk::TextField>(QStringLiteral("TotalNet")); }
  tk::Label* StaticText2() const { return control<tk::Label>(QStringLiteral("StaticText2")); }
  tk::Label* StaticText3() const { return control<tk::Label>(QStringLiteral("StaticText3")); }
  tk::Label* StaticText4() const { return control<tk::Label>(QStringLiteral("StaticText4")); }
  tk::TextField* EcceHomo() const { return control<tk::TextField>(QStringLiteral("EcceHomo")); }
  tk::Label* StaticText5() const { return control<tk::Label>(QStringLiteral("StaticText5")); }
  tk::Label* StaticText6() const { return control<tk::Label>(QStringLiteral("StaticText6")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::TextField* locbac() const { return control<tk::TextField>(QStringLiteral("locbac")); }
  tk::TextField* locramp() const { return control<tk::TextField>(QStringLiteral("locramp")); }
  tk::TextField* fraise() const { return control<tk::TextField>(QStringLiteral("fraise")); }
  tk::Label* StaticText7() const { return control<tk::Label>(QStringLiteral("StaticText7")); }
  tk::Label* StaticText8() const { return control<tk::Label>(QStringLiteral("StaticText8")); }
  tk::Label* StaticText9() const { return control<tk::Label>(QStringLiteral("StaticText9")); }
  tk::BevelButton* BevelButton2() const { return control<tk::BevelButton>(QStringLiteral("BevelButton2")); }
  tk::TextField* TA1() const { return control<tk::TextField>(QStringLiteral("TA1")); }
  tk::TextField* TA2() const { return control<tk::TextField>(QStringLiteral("TA2")); }
  tk::TextField* fromat() const { return control<tk::TextField>(QStringLiteral("fromat")); }

  void BevelButton1_Action();
  void BevelButton2_Action();
  void locbac_TextChange();
  void locramp_TextChange();
  void fraise_TextChange();

  // The seller this sheet was built for, as the current seller stood then
  // (no e-mail or coupon range). The sheet's statement describes this
  // seller, whatever is chosen later.
  const SellerRecord& Seller() const { return seller_; }

 protected:
  void Event_Open() override;

 private:
  void RentalsEdited();
  void ShowAccount();
  SellerAccount ShownAccount() const;

  SellerRecord seller_;
  std::vector<SaleEntry> sales_;  // as listed, in coupon-number order
  SellerAccount account_;
};
