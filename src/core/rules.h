#pragma once
// The rules every window and report shares for commissions, whole numbers,
// amounts and comma-separated lines.

#include <QString>
#include <QStringList>
#include <cstdint>

// The commission on an amount: rate × amount rounded to the nearest
// 1/stepsPerUnit (0.05 by default; the desk's coupon entry uses 10, 0.1).
double CommissionRounding(double rate, double amount, double stepsPerUnit = 20.0);

// A text read as a whole number: Val, cut toward zero. A value that is not
// finite or does not fit 64 bits counts as 0. Seller codes, coupon ranges
// and coupon numbers are all read this way.
std::int64_t WholeNumber(const QString& text);

// The amount text as a hidden formatter field with the mask "-####.00"
// shows it.
QString AmountFormatter(const QString& amount);

// The fields of one comma-separated line, trimmed, exactly `columns` of
// them: missing fields are empty, extra fields are dropped.
QStringList CsvFields(const QString& line, int columns);

// True when the line holds nothing but white space (a "\r" included): a
// line a text editor left, not a record. A line of bare commas is a record.
bool IsBlankLine(const QString& line);
