#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class Clock;

// Length of text in bytes of its GBK form: a Chinese character counts 2, ASCII 1. A character
// outside GBK counts as GB18030 encodes it (4), so it is never lost from the count.
int gbkByteLength(const QString &text);

// Lower-cases only the ASCII letters A to Z; every other character is left as it is.
QString asciiLower(const QString &text);

// Number to text: decimal, up to 13 significant digits, no trailing zeros (1500, 12.5, 0).
QString numberToText(double value);

// Text to number: full-width characters become ASCII first, then the longest leading decimal
// number (blanks, sign, point, exponent) is taken; 0 when there is none.
double textToNumber(const QString &text);

// A day-count date-time as "Y-MM-DD HH:MM:SS" (the year with as many digits as it has),
// clamped to 100-01-01 … 9999-12-31; exactly 1899-12-30 00:00:00 means now (from clock).
QString formatTimestamp(double dayCount, const Clock &clock);

// Splits at every separator; an empty last field counts (Qt's KeepEmptyParts semantics).
QStringList splitFields(const QString &text, QChar separator);

} // namespace fenlark
