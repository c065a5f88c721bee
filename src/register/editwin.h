#pragma once
// The seller editor: the seller register loaded when the editor is built,
// shown as a list; one seller at a time is brought into the fields, changed
// or added, and both seller files are rewritten on "Enregistrer et Quitter".
// The rules are the register model's; the handlers move texts between the
// controls and it.

#include <vector>

#include "register/sellerregister.h"
#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class editwin : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::TextField* CouponStart() const { return control<tk::TextField>(QStringLiteral("CouponStart")); }
  tk::TextField* CouponStop() const { return control<tk::TextField>(QStringLiteral("CouponStop")); }
  tk::TextField* NomVendeur() const { return control<tk::TextField>(QStringLiteral("NomVendeur")); }
  tk::TextField* CodeVendeur() const { return control<tk::TextField>(QStringLiteral("CodeVendeur")); }
  tk::Listbox* ListeVendeurs2() const { return control<tk::Listbox>(QStringLiteral("ListeVendeurs2")); }
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
  tk::BevelButton* Selectioner() const { return control<tk::BevelButton>(QStringLiteral("Selectioner")); }
  tk::BevelButton* modifier() const { return control<tk::BevelButton>(QStringLiteral("modifier")); }
  tk::BevelButton* ajouter() const { return control<tk::BevelButton>(QStringLiteral("ajouter")); }
  tk::BevelButton* nouveau() const { return control<tk::BevelButton>(QStringLiteral("nouveau")); }
  tk::BevelButton* abandonner() const { return control<tk::BevelButton>(QStringLiteral("abandonner")); }
  tk::BevelButton* EnretQuit() const { return control<tk::BevelButton>(QStringLiteral("EnretQuit")); }
  tk::BevelButton* quitter() const { return control<tk::BevelButton>(QStringLiteral("quitter")); }
  tk::TextField* email() const { return control<tk::TextField>(QStringLiteral("email")); }
  tk::Label* Label1() const { return control<tk::Label>(QStringLiteral("Label1")); }

  void Selectioner_Action();
  void modifier_Action();
  void ajouter_Action();
  void nouveau_Action();
  void abandonner_Action();
  void EnretQuit_Action();
  void quitter_Action();

 protected:
  void Event_Open() override;

 private:
  // Shows what an action left: the row written, the fields, the messages,
  // then the buttons of the state it leads to.
  void show(const SellerRegister::Step& step);
  void showRow(int row);
  void showButtons();

  SellerRegister register_;
};
