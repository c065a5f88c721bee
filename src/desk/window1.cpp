#include "desk/window1.h"

#include "core/texts.h"
#include "desk/chgmenttaux.h"
#include "desk/infowin.h"
#include "register/vendorfiles.h"
#include "reports/utilities.h"
#include "sheet/selectvendor.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "ui/menubar1.h"
#include "ui/pictures.h"
#include "ui/warnings.h"

using tk::Alignment;
using tk::SmallSystemFont;
using tk::SystemFont;

Window1::Window1() : menuBar_(&MenuBar1::Instance()) {}

const tk::WindowSpec& Window1::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Gestion de la Bourse OVK"), 720, 518,
                                     tk::Placement::MainScreenCentre, QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& Window1::ControlDesign() const {
  static const std::vector<tk::ControlSpec> controls{
      tk::TextFieldSpec("EntryCoupon", 41, 195, 70, 47).align(Alignment::Centre).tab(1),
      tk::TextFieldSpec("ValeurCoupon", 129, 195, 79, 47).align(Alignment::Right).withFormat(tk::AmountFormat).tab(2),
      tk::ListboxSpec("ReferenceBox", 358, 64, 352, 375).columns(4, "20%,20%,60%,0%"),
      // Hidden scratch table of the design: the desk model reads a sales
      // file for a removal without a widget.
      tk::ListboxSpec("ListCachee", 500, 64, 210, 373).columns(2).hidden(),
      tk::LabelSpec("StaticText1", 51, 167, 60, 50, "N° de Coupon").multiline().font(SmallSystemFont),
      tk::LabelSpec("StaticText2", 134, 167, 87, 37, "Montant").font(SmallSystemFont),
      tk::LabelSpec("StaticText3", 42, 110, 277, 40, "Saisie des coupons").font(SystemFont, 20),
      tk::LabelSpec("StaticText4", 365, 19, 274, 17, "Coupons déjà saisis")
          .font(SmallSystemFont).makeBold().makeItalic().makeUnderline(),
      tk::TextFieldSpec("ShowTotal", 181, 279, 125, 36)
          .makeReadOnly().align(Alignment::Right).makeBold().withFormat(tk::AmountFormat),
      tk::LabelSpec("StaticText5", 51, 279, 111, 31, "Chiffre d'affaire:").font(SystemFont),
      tk::CanvasSpec("Canvas1", 13, 14, 109, 74).picture(&siglBourse),
      tk::LabelSpec("StaticText6", 66, 327, 96, 31, "Commissions:").font(SystemFont),
      tk::TextFieldSpec("ShowComm", 181, 326, 125, 34)
          .makeReadOnly().align(Alignment::Right).makeBold().withFormat(tk::AmountFormat),
      tk::PushButtonSpec("PushButton3", 391, 451, 274, 38, "Voir la feuille d'un vendeur particulier")
          .font(SmallSystemFont).onAction(tk::On(&Window1::PushButton3_Action)),
      tk::PushButtonSpec("PushButton4", 631, 14, 69, 37, "Info").font(SmallSystemFont).makeBold().makeItalic()
          .onAction(tk::On(&Window1::PushButton4_Action)),
      tk::PushButtonSpec("PushButton5", 96, 451, 240, 47, "Gestion des vendeurs et coupons").font(SmallSystemFont)
          .onAction(tk::On(&Window1::PushButton5_Action)),
      tk::BevelButtonSpec("BevelButton1", 233, 195, 86, 26, "Ajouter").color(0x47B71C).tab(3)
          .onAction(tk::On(&Window1::BevelButton1_Action)),
      tk::BevelButtonSpec("BevelButton2", 66, 364, 79, 20, "Vériifer/Modifier")
          .color(0xEB7111).size(8).noFocus().onAction(tk::On(&Window1::BevelButton2_Action)),
      tk::LabelSpec("StaticText7", 358, 43, 274, 17, "Coupon        Valeur                Vendeur ")
          .font(SmallSystemFont),
      tk::BevelButtonSpec("BevelButton3", 233, 233, 86, 29, "Effacer").color(0xEB1010).noFocus()
          .onAction(tk::On(&Window1::BevelButton3_Action)),
      tk::BevelButtonSpec("BevelButton4", 553, 14, 66, 28, "Utilitaires").noFocus()
          .onAction(tk::On(&Window1::BevelButton4_Action)),
      // Hidden formatter of the design: the desk model applies its mask without it.
      tk::TextFieldSpec("fromat", 182, 66, 73, 33).withFormat(tk::AmountFormat).hidden(),
      tk::BevelButtonSpec("BevelButton5", 20, 451, 55, 47, "Quitter").makeBold().noFocus()
          .onAction(tk::On(&Window1::BevelButton5_Action)),
  };
  return controls;
}

QAction* Window1::EditMenu() const { return menuBar_->Lookup(QStringLiteral("EditMenu")); }
QAction* Window1::EditSelectAll() const { return menuBar_->Lookup(QStringLiteral("EditSelectAll")); }
QAction* Window1::UntitledMenu0() const { return menuBar_->Lookup(QStringLiteral("UntitledMenu0")); }
QAction* Window1::EditClear() const { return menuBar_->Lookup(QStringLiteral("EditClear")); }
QAction* Window1::EditPaste() const { return menuBar_->Lookup(QStringLiteral("EditPaste")); }
QAction* Window1::EditCopy() const { return menuBar_->Lookup(QStringLiteral("EditCopy")); }
QAction* Window1::EditCut() const { return menuBar_->Lookup(QStringLiteral("EditCut")); }
QAction* Window1::UntitledMenu1() const { return menuBar_->Lookup(QStringLiteral("UntitledMenu1")); }
QAction* Window1::EditUndo() const { return menuBar_->Lookup(QStringLiteral("EditUndo")); }
QAction* Window1::FileMenu() const { return menuBar_->Lookup(QStringLiteral("FileMenu")); }
QAction* Window1::FileQuit() const { return menuBar_->Lookup(QStringLiteral("FileQuit")); }

// "Voir la feuille d'un vendeur particulier": the seller picker, beside the desk.
void Window1::PushButton3_Action() { tk::Ref<SelectVendor>().Show(); }

// "Info": the about window, beside the desk.
void Window1::PushButton4_Action() { tk::Ref<InfoWin>().Show(); }

// "Gestion des vendeurs et coupons": a warning, then the seller files start afresh.
void Window1::PushButton5_Action() {
  tk::MessageDialog d = ContinueWarning(
      QStringLiteral("Attention! Cette fonction est en principe à n'utiliser qu'en début de Bourse! "),
      QStringLiteral("Vous allez mettre à zéro les fichiers ListeVendeurs.csv et couponsvendeurs.csv "),
      QStringLiteral("Si ce n'est pas ce que vous voulez faire pressez \"Annuler\"."));
  // Any way out but "Continuer" leaves the seller files alone.
  if (d.ShowModal() != &d.ActionButton) return;
  // The seller files start afresh once per run; when they could not be
  // emptied the window has closed itself and the way in stays open.
  const tk::Handle<VendorFiles> creation = tk::Ref<VendorFiles>();
  if (!creation.IsOpen()) return;
  PushButton5()->SetVisible(false);
  creation.Show();
}

// "Vériifer/Modifier": a warning, then the rate window; the desk waits for it.
// The commission shown is left as it is until the next entry or deletion.
void Window1::BevelButton2_Action() {
  tk::MsgBox(QStringLiteral("Vous allez modifier définitivement le taux de commission utilisé par Corvalenta!") +
             tk::EndOfLine +
             QStringLiteral("Si ce n'est pas ce que vous voulez faire cliquez sur \"Abandonner\"."));
  tk::Ref<ChgmentTaux>().ShowModal();
}

// "Utilitaires": the utilities window, beside the desk.
void Window1::BevelButton4_Action() { tk::Ref<utilities>().Show(); }

// "Quitter": every change is already in its file, so nothing is asked.
void Window1::BevelButton5_Action() { tk::Quit(0); }
