#pragma once
// The desk's rules, without a window: the rate and the journal read at the
// opening, booking a typed coupon, removing a booked one, and the turnover
// and commission they leave. Every call takes texts and the data files and
// gives back rows, totals and the messages to show; the desk window only
// shows them. The run's date, journal name and rate are the program-wide
// ones (Module1).

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "desk/deskfiles.h"
#include "toolkit/clock.h"

class Desk {
 public:
  // The opening's first step: the rate in force from the rate file (which
  // is created with the default rate when missing, and never rewritten when
  // it exists), then the run's date and the year's journal name. Gives the
  // message that must end the run, or an empty text.
  QString ReadRate(const tk::Date& today);

  struct JournalOpening {
    bool created = false;  // the year's first start: a new, empty journal
    QString failure;       // the message that must end the run, or empty
  };
  // The opening's last step: the year's journal loaded into the rows (each
  // field trimmed, the amount shown with two decimals; its header lines,
  // wherever they stand, and its blank lines skipped), its sum made the
  // turnover and the commission worked out to the nearest 0.05; or, when
  // there is none, the journal created with its two header lines.
  JournalOpening LoadJournal();

  struct Entry {
    bool booked = false;  // the coupon is in both files and the last row
    int duplicate = -1;   // a coupon already booked: the row to select
    QStringList messages;  // to show, in order
  };
  // "Ajouter": books the coupon and the amount as typed to the seller whose
  // range holds the number in the coupon map, in the seller's sales file and
  // the journal together. An empty number does nothing; a number already
  // booked, a missing coupon map, a number without a seller or a file that
  // cannot take the line leaves everything as it was, with the message that
  // says why (a failure that could not be taken back is left for the next
  // start, and nothing more is booked or removed in this run). An amount
  // above 100 is booked after a warning. The turnover grows by the amount
  // from what it shows, to the cent, and the commission is worked out to
  // the nearest 0.1.
  Entry Book(const QString& coupon, const QString& amount);

  struct Removal {
    bool removed = false;  // the row is gone, the journal rewritten
    QStringList messages;  // to show, in order
  };
  // "Effacer": removes the row (-1: none chosen) from the journal and the
  // last line of its coupon from the seller's sales file, together, and
  // works the turnover out again from the rows left, with the commission
  // to the nearest 0.05. The row's seller code becomes the current seller's.
  // When the journal cannot be rewritten (or the sales file, with the
  // journal put back) nothing changes. A journal rewritten while its sales
  // file could neither be rewritten nor the journal put back leaves the row
  // listed and the removal for the next start to finish, and says so.
  Removal Remove(int row);

  // The bookings of the year, in the journal's order, as the desk lists them.
  const std::vector<JournalEntry>& Rows() const { return rows_; }
  // The turnover shown.
  double Turnover() const { return turnover_; }
  // The commission shown; none before the journal was loaded or a first
  // entry made.
  std::optional<double> Commission() const { return commission_; }

 private:
  // The journal's lines without that row, each row as it is listed, and the
  // sum of the amounts left.
  QStringList journalWithout(int row, double& total) const;

  std::vector<JournalEntry> rows_;
  double turnover_ = 0;
  std::optional<double> commission_;
};
