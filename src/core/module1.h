#pragma once
// The program-wide variables. Every window reads and writes them on the one
// event thread; nothing else holds program-wide state.

#include <QString>
#include <cstdint>

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
