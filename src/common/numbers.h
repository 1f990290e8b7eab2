// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// How every number typed into a box or stored in a table file is read, rounded,
// added up and printed. All failures throw RuntimeError(Overflow).

// The number at the start of a text. Blanks (space, tab, line feed, the
// full-width and the no-break space) are removed wherever they stand;
// full-width digits, letters, signs and decimal point count as their ASCII
// forms. "&H"/"&O" start a hexadecimal or octal number of ASCII (or
// full-width) digits. A text that does not begin with a number gives 0.
double leadingNumber(const QString& text);

// Nearest whole number, exact halves to the even neighbour, checked against
// the 16-bit or 32-bit signed range.
qint16 roundToInt16(double value);
qint32 roundToInt32(double value);

// Checked integer arithmetic: a result outside the type's range is the
// overflow error.
qint16 toInt16(qint64 value);
qint32 toInt32(qint64 value);
qint16 add16(qint16 a, qint16 b);
qint16 sub16(qint16 a, qint16 b);
qint16 mul16(qint16 a, qint16 b);
qint32 add32(qint32 a, qint32 b);
qint32 sub32(qint32 a, qint32 b);
qint32 mul32(qint32 a, qint32 b);

// A number as printed into a picture area: a sign place (space or "-"), the
// digits, and one trailing space. Whole values have no decimal point; doubles
// keep at most 15 significant digits and singles at most 7; no trailing zeros
// and never an exponent.
QString formatWhole(qint64 value);
QString formatDouble(double value);
QString formatSingle(float value);
