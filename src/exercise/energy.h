// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

class Table;

// The energy spent on up to eight exercises: for each entry row an exercise
// number (a row of the RMR table) and the minutes spent, and the sex code that
// picks the factor. The window works the steps in this order, with the clearing,
// loading and listing of the panels between the first and the second.

constexpr int ExerciseRowCount = 8;
// Text1..Text16 as typed: entry row k's exercise number at 2k-2, its minutes
// at 2k-1.
using ExerciseEntries = std::array<QString, 2 * ExerciseRowCount>;

struct SexFactor {
    qint32 code = 0;
    float factor = 0; // kept in single precision, as the energy is
};

// Step 1: the sex code from the text of its box, rounded halves-to-even. Code
// 2 (a woman) takes 0.9833, every other code 0.9821. Throws the overflow error
// naming the box when the code does not fit in 32 bits.
SexFactor readSex(const QString& text);

// Steps 5 and 6: the sum over the entry rows of RMR value × minutes, each row
// finished before the next is read. Minutes round to 16 bits before the
// exercise number is checked; the exercise number rounds to a row 0..300,
// never checked against the row count; products and partial sums stay within
// 16 bits. Throws RuntimeError naming the box at fault: out of range for a
// row below 0 or above 300, overflow otherwise.
qint16 exerciseTotal(const Table& table, const ExerciseEntries& entries);

// An entry row's exercise number and minutes as exerciseTotal reads them.
qint32 exerciseRowOf(const QString& numberText);
qint16 exerciseMinutesOf(const QString& minutesText);

// Step 7: the total times the factor, one single-precision multiplication.
float energy(qint16 total, const SexFactor& sex);

// All of it, in order, over a table already loaded.
float computeEnergy(const Table& table, const ExerciseEntries& entries, const QString& sexText);
