#pragma once
// The seller register's rules, without a window: the sellers a seller
// window lists, choosing, changing and adding one, the next seller offered,
// and writing both seller files. Every call takes the texts typed and gives
// back the row written, the ten fields' new texts and the messages to show;
// the windows only show them. The editor works on the copy of the seller
// list it loaded and replaces both files by it when it saves; the creation
// window starts both files afresh and appends one seller at a time. The row
// chosen with "Sélectionner" is the program-wide one (Module1).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/sellerformat.h"
#include "storage/filechange.h"

class SellerRegister {
 public:
  // What one action leaves for its window to show.
  struct Step {
    bool done = false;  // the action took place (a save: both files written)
    int row = -1;       // the row written, changed or added; -1 for none
    std::optional<SellerRecord> fields;  // the ten fields' new texts; none: left as they are
    QStringList messages;                // to show, in order
  };

  // The editor's opening: the seller list loaded, every field trimmed, and
  // its bytes kept for the save. Gives the message that closes the editor
  // when there is no seller list, or an empty text.
  QString Load();

  // "Sélectionner": the row becomes Module1::generalfailure at once; its
  // seller goes to the fields, or, when the row names none, a message.
  Step Select(int row);
  // "Modifier": the typed seller replaces the row recorded by the last
  // "Sélectionner", unless the checks refuse it beside the other rows (the
  // message; nothing changes). No row recorded: nothing happens at all.
  Step Modify(const SellerRecord& typed);
  // "Ajouter": the typed seller becomes the last row, unless the checks
  // refuse it beside every row.
  Step Add(const SellerRecord& typed);
  // "Nouveau": the fields for a new seller, with the code and the first
  // coupon one above the highest of the rows as they stand (codes and last
  // coupons read as whole numbers; never below 1).
  Step NewSeller();
  // "Abandonner": every field empty, the rental counts too.
  Step Abandon();
  // "Enregistrer et Quitter": both files replaced by the rows, unless the
  // seller list is no longer what was loaded, a row's range is beyond any
  // fair, or the files cannot be written (the message; the editor stays,
  // and may from then on always be left unsaved).
  Step Save();

  // The creation window's opening: both seller files emptied, and the
  // fields for the first seller (code and first coupon "1"). Not done when
  // the files cannot be emptied (the message; the window closes).
  Step StartAfresh();
  // The creation window's "Ajouter": the typed seller appended to both
  // files and listed, unless the checks refuse it beside the sellers listed
  // and those of the seller list as it is now, or the files cannot take it.
  // The fields then offer the next seller: the code after the one typed,
  // the range after the last coupon typed.
  Step AddAtCreation(const SellerRecord& typed);

  // The sellers listed, in the order the window shows them.
  const std::vector<SellerRecord>& Sellers() const { return sellers_; }

  // The editor's actions that are offered now, one per button.
  struct Offer {
    bool select, modify, add, newSeller, abandon, save, quit;
  };
  Offer Offered() const;

 private:
  // The editor's states; each offers its set of actions.
  enum class State { Browsing, SellerSelected, Edited, NewSeller };

  Step refuseSave(const QString& message);
  // The save once the files were replaced, as far as that went.
  Step saved(storage::Replaced done);

  std::vector<SellerRecord> sellers_;
  // The seller list as it was loaded: a save replaces only that.
  QByteArray loaded_;
  State state_ = State::Browsing;
  // A save was refused: "Quitter" is offered from then on.
  bool saveRefused_ = false;
};
