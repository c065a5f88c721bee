#pragma once
// What every control offers window code, whatever Qt widget it is made of:
// showing and hiding, enabling and disabling, and the focus, in the
// toolkit's own words. Window code uses these, never Qt's calls beside them.

namespace tk {

template <class QtWidget>
class Control : public QtWidget {
 public:
  using QtWidget::QtWidget;

  // The control's own visibility: false once hidden, true once shown again,
  // whether or not its window is on the screen.
  bool Visible() const { return !this->isHidden(); }
  void SetVisible(bool visible) { this->setVisible(visible); }
  bool Enabled() const { return this->isEnabled(); }
  void SetEnabled(bool enabled) { this->setEnabled(enabled); }
  // Gives the control the keyboard focus (once its window is active).
  void SetFocus() { this->setFocus(); }
};

}  // namespace tk
