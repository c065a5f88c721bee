#pragma once
// The cash desk: the main window, where coupons are typed, booked, listed
// and removed, and from which every other window is opened.

#include "desk/desk.h"
#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class QAction;
class MenuBar1;

class Window1 : public tk::Window {
  Q_OBJECT
 public:
  Window1();

  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::TextField* EntryCoupon() const { return control<tk::TextField>(QStringLiteral("EntryCoupon")); }
  tk::TextField* ValeurCoupon() const { return control<tk::TextField>(QStringLiteral("ValeurCoupon")); }
  tk::Listbox* ReferenceBox() const { return control<tk::Listbox>(QStringLiteral("ReferenceBox")); }
  tk::Listbox* ListCachee() const { return control<tk::Listbox>(QStringLiteral("ListCachee")); }
  tk::Label* StaticText1() const { return control<tk::Label>(QStringLiteral("StaticText1")); }
  tk::Label* StaticText2() const { return control<tk::Label>(QStringLiteral("StaticText2")); }
  tk::Label* StaticText3() const { return control<tk::Label>(QStringLiteral("StaticText3")); }
  tk::Label* StaticText4() const { return control<tk::Label>(QStringLiteral("StaticText4")); }
  tk::TextField* ShowTotal() const { return control<tk::TextField>(QStringLiteral("ShowTotal")); }
  tk::Label* StaticText5() const { return control<tk::Label>(QStringLiteral("StaticText5")); }
  tk::Canvas* Canvas1() const { return control<tk::Canvas>(QStringLiteral("Canvas1")); }
  tk::Label* StaticText6() const { return control<tk::Label>(QStringLiteral("StaticText6")); }
  tk::TextField* ShowComm() const { return control<tk::TextField>(QStringLiteral("ShowComm")); }
  tk::PushButton* PushButton3() const { return control<tk::PushButton>(QStringLiteral("PushButton3")); }
  tk::PushButton* PushButton4() const { return control<tk::PushButton>(QStringLiteral("PushButton4")); }
  tk::PushButton* PushButton5() const { return control<tk::PushButton>(QStringLiteral("PushButton5")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::BevelButton* BevelButton2() const { return control<tk::BevelButton>(QStringLiteral("BevelButton2")); }
  tk::Label* StaticText7() const { return control<tk::Label>(QStringLiteral("StaticText7")); }
  tk::BevelButton* BevelButton3() const { return control<tk::BevelButton>(QStringLiteral("BevelButton3")); }
  tk::BevelButton* BevelButton4() const { return control<tk::BevelButton>(QStringLiteral("BevelButton4")); }
  tk::TextField* fromat() const { return control<tk::TextField>(QStringLiteral("fromat")); }
  tk::BevelButton* BevelButton5() const { return control<tk::BevelButton>(QStringLiteral("BevelButton5")); }

  void PushButton3_Action();
  void PushButton4_Action();
  void PushButton5_Action();
  void BevelButton1_Action();
  void BevelButton2_Action();
  void BevelButton3_Action();
  void BevelButton4_Action();
  void BevelButton5_Action();

  // The menu bar is attached to the desk but never shown on it.
  MenuBar1* MenuBar() const { return menuBar_; }
  QAction* EditMenu() const;
  QAction* EditSelectAll() const;
  QAction* UntitledMenu0() const;
  QAction* EditClear() const;
  QAction* EditPaste() const;
  QAction* EditCopy() const;
  QAction* EditCut() const;
  QAction* UntitledMenu1() const;
  QAction* EditUndo() const;
  QAction* FileMenu() const;
  QAction* FileQuit() const;

  void Event_Open() override;

 private:
  // Shows the model's turnover and, once there is one, its commission.
  void showTotals();

  MenuBar1* menuBar_;
  Desk desk_;
};
