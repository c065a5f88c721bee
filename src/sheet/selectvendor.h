#pragma once
// The seller picker: lists the sellers of the seller list by name; the
// chosen one becomes the current seller and that seller's sheet is shown.

#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class SelectVendor : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::Listbox* ListVendeurs() const { return control<tk::Listbox>(QStringLiteral("ListVendeurs")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::BevelButton* BevelButton2() const { return control<tk::BevelButton>(QStringLiteral("BevelButton2")); }

  void BevelButton1_Action();
  void BevelButton2_Action();

 protected:
  void Event_Open() override;
};
