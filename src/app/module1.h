#pragma once
// The program-wide variables, and the rules every window shares for
// commissions, amounts and loading a comma-separated file into a list.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace tk {
class Listbox;
class TextField;
class TextInputStream;
}  // namespace tk

namespace Module1 {

inline QString thename;           // this run's journal file name
inline double grandtotal = 0;     // sum of the journal's amounts, as last worked out
inline std::int64_t FindVendor = 0;  // the current seller's number
inline QString vc2;               // the current seller's code, as text
inline QString SonNom;            // the current seller's name
inline double ovktaux = 0;        // commission rate as a fraction (0.1 is 10 %)
inline QString myday;             // start date, D/M/YYYY without leading zeros
inline QString bacs2;             // tanks rented by the current seller
inline QString adresse2;          // the current seller's address
inline QString zip2;              // the current seller's postal code
inline QString localite2;         // the current seller's town
inline QString rampes2;           // LED ramps rented by the current seller
inline std::int64_t generalfailure = 0;  // row chosen in the seller editor, -1 for none

// The current seller ("CurrentSeller") is SonNom, vc2, FindVendor, adresse2,
// zip2, localite2, bacs2 and rampes2: set together by the seller picker,
// overwritten in part by the desk's deletion and the reports.

// Every variable back to its initial value, 0 or empty.
void Initialise();

}  // namespace Module1

// The commission on an amount: rate × amount rounded to the nearest
// 1/stepsPerUnit (0.05 by default; the desk's coupon entry uses 10, 0.1).
double CommissionRounding(double rate, double amount, double stepsPerUnit = 20.0);

// The amount text as the window's hidden formatter field shows it.
QString AmountFormatter(tk::TextField& fromat, const QString& amount);

// Adds one row per remaining line of the stream to the list: the line's
// comma-separated fields, trimmed, one per column; a line with fewer fields
// gives empty cells, extra fields are dropped. `perRow` runs for each row
// once its cells are set, with the row index and the trimmed fields.
void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow = {});
