#include "sheet/feuillevendeur.h"

#include <QStringList>
#include <array>
#include <utility>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "rtf/rtfdocument.h"
#include "rtf/sellerstatement.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "ui/printing.h"

using tk::Alignment;
using tk::SmallSystemFont;

namespace {

// An amount field of the account: right-aligned, two decimals.
tk::ControlSpec amountField(const char* name, int left, int top, int width, int height) {
  return tk::TextFieldSpec(name, left, top, width, height)
      .font(SmallSystemFont)
      .withFormat(tk::AmountFormat)
      .align(Alignment::Right);
}
tk::ControlSpec label(const char* name, int left, int top, int width, int height, const QString& text) {
  return tk::LabelSpec(name, left, top, width, height, text).font(SmallSystemFont);
}
tk::ControlSpec field(const char* name, int left, int top, int width, int height) {
  return tk::TextFieldSpec(name, left, top, width, height).font(SmallSystemFont);
}

// The current seller, as the picker copied it from the seller line.
SellerRecord currentSeller() {
  SellerRecord s;
  s[SellerRecord::Name] = Module1::SonNom;
  s[SellerRecord::Code] = Module1::vc2;
  s[SellerRecord::Address] = Module1::adresse2;
  s[SellerRecord::PostalCode] = Module1::zip2;
  s[SellerRecord::Town] = Module1::localite2;
  s[SellerRecord::Tanks] = Module1::bacs2;
  s[SellerRecord::LedRamps] = Module1::rampes2;
  return s;
}

}  // namespace

const tk::WindowSpec& FeuilleVendeur::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Feuille Vendeur"), 501, 597, tk::Placement::Default, QColor(),
                                     true};
  return design;
}

const std::vector<tk::ControlSpec>& FeuilleVendeur::ControlDesign() const {
  // The column titles of the coupon list stand over their columns.
  static const QString columnTitles =
      QStringLiteral("n° coupon") + QString(13, QLatin1Char(' ')) + QStringLiteral("valeur");
  static const std::vector<tk::ControlSpec> controls{
      tk::ListboxSpec("CouponsVendeur", 290, 60, 191, 496).columns(2).withGrid().font(SmallSystemFont),
      label("StaticText1", 290, 7, 200, 21, QStringLiteral("Liste des coupons encaissés")),
      amountField("TotalBrut", 152, 261, 84, 50).makeReadOnly(),
      amountField("Kommision", 152, 327, 84, 42).makeReadOnly(),
      amountField("TotalNet", 152, 457, 84, 41).makeReadOnly(),
      label("StaticText2", 79, 274, 61, 17, QStringLiteral("Total brut:")),
      label("StaticText3", 64, 339, 77, 16, QStringLiteral("Commission:")),
      label("StaticText4", 86, 465, 91, 19, QStringLiteral("Total final:")),
      field("EcceHomo", 34, 60, 156, 40).makeReadOnly(),
      label("StaticText5", 40, 44, 150, 13, QStringLiteral("Vendeur:")),
      label("StaticText6", 297, 36, 177, 21, columnTitles),
      tk::BevelButtonSpec("BevelButton1", 34, 523, 93, 30, "Fermer")
          .font(SmallSystemFont).tab(0).onAction(tk::On(&FeuilleVendeur::BevelButton1_Action)),
      field("locbac", 152, 171, 84, 38).align(Alignment::Centre)
          .onTextChange(tk::On(&FeuilleVendeur::locbac_TextChange)),
      field("locramp", 153, 213, 84, 49).align(Alignment::Centre)
          .onTextChange(tk::On(&FeuilleVendeur::locramp_TextChange)),
      amountField("fraise", 153, 389, 84, 44).onTextChange(tk::On(&FeuilleVendeur::fraise_TextChange)),
      label("StaticText7", 40, 172, 112, 17, QStringLiteral("Location de bacs:")),
      label("StaticText8", 40, 222, 112, 17, QStringLiteral("Location de LEDs:")),
      label("StaticText9", 48, 403, 99, 17, QStringLiteral("Frais (locations):")),
      tk::BevelButtonSpec("BevelButton2", 153, 523, 93, 30, "Imprimer").font(SmallSystemFont).tab(1)
          .onAction(tk::On(&FeuilleVendeur::BevelButton2_Action)),
      field("TA1", 34, 119, 76, 38).hidden(),
      field("TA2", 131, 119, 93, 40).hidden(),
      field("fromat", 201, 61, 73, 39).withFormat(tk::AmountFormat).hidden(),
  };
  return controls;
}

void FeuilleVendeur::Event_Open() {
  seller_ = currentSeller();
  EcceHomo()->SetText(seller_[SellerRecord::Name]);

  SellerSales sales = LoadSellerSales(DataFile(SellerSalesFile(Module1::FindVendor)));
  if (sales.missing) {
    tk::MsgBox(QStringLiteral("Ce vendeur n'a encore rien vendu!"));
    tk::Ref<FeuilleVendeur>().Close();
    return;
  }
  SortByCouponNumber(sales.rows);
  sales_ = std::move(sales.rows);
  tk::Listbox* list = CouponsVendeur();
  for (const SaleEntry& sale : sales_) list->AddRow(QStringList{sale.coupon, sale.amount});

  account_ = SellerTotals(sales.gross, seller_[SellerRecord::Tanks], seller_[SellerRecord::LedRamps],
                          Module1::ovktaux);
  ShowAccount();
}

void FeuilleVendeur::ShowAccount() {
  const QStringList texts = account_.Texts();
  const std::array<tk::TextField*, 6> fields{locbac(), locramp(), fraise(), TotalBrut(), Kommision(), TotalNet()};
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i]->SetText(texts.at(static_cast<int>(i)));
}

// "Fermer".
void FeuilleVendeur::BevelButton1_Action() { tk::Ref<FeuilleVendeur>().Close(); }

// "Imprimer": the statement of the seller this sheet was built for, with
// its coupons and the account as the sheet shows it, then the desktop's
// opener. The sheet closes unless opening it failed.
void FeuilleVendeur::BevelButton2_Action() {
  const std::optional<QString> name = SellerStatementFileName(seller_[SellerRecord::Code]);
  if (name && StillPrinting(*this, DataFile(*name))) return;
  const SellerStatement statement = StatementOf(seller_, sales_, ShownAccount(), Module1::myday);

  const std::optional<tk::FolderItem> file = WriteSellerStatement(statement);
  if (!file) {
    tk::MsgBox(CannotCreatePrintout);
    tk::Ref<FeuilleVendeur>().Close();
    return;
  }
  PrintLauncher(*this, *file, StatementPrintCommand(file->Name()), [this](PrintOutcome outcome) {
    if (outcome != PrintOutcome::Failed) Close();
  });
}

// The account with fees typed by hand as the fees field shows them now: the
// field drops a pasted line break only after the edit reached the account.
SellerAccount FeuilleVendeur::ShownAccount() const {
  SellerAccount shown = account_;
  if (shown.typedFees) shown.typedFees = fraise()->Text();
  return shown;
}

// Fees typed by hand: the net follows the fees as the field shows them at
// the edit (before it drops a pasted line break, see ShownAccount).
void FeuilleVendeur::fraise_TextChange() {
  account_ = WithTypedFees(account_, fraise()->Text());
  TotalNet()->SetText(tk::Str(account_.net));
}

void FeuilleVendeur::locbac_TextChange() { RentalsEdited(); }
void FeuilleVendeur::locramp_TextChange() { RentalsEdited(); }

// Other rental counts: fees and net are worked out again from the two fields.
void FeuilleVendeur::RentalsEdited() {
  account_ = WithRentals(account_, locbac()->Text(), locramp()->Text());
  fraise()->SetText(tk::Str(account_.fees));
  TotalNet()->SetText(tk::Str(account_.net));
}
