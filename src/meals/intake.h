// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

class Table;

// The day's calorie intake from the set-meal numbers typed for breakfast
// (entries 1-10), lunch (11-20) and dinner (21-30).
constexpr int IntakeEntryCount = 30;
using IntakeEntries = std::array<QString, IntakeEntryCount>;

struct IntakeTotals {
    qint32 breakfast = 0; // ten 16-bit values always fit
    qint32 lunch = 0;
    qint32 dinner = 0;
    qint16 day = 0;
};

// Reads the entries in order (breakfast first, each meal left to right): each
// entry's leading number, rounded, selects a row 0..300 of the table, whose
// calories are added to its meal. Only the day total is checked against the
// 16-bit range. Throws RuntimeError naming the entry at fault: out of range for
// a row below 0 or above 300, overflow for a number beyond 32 bits or a day
// total beyond 16 bits.
IntakeTotals computeIntake(const Table& table, const IntakeEntries& entries);

// The table row an entry selects: its leading number, rounded (unchecked
// against 0..300; the table checks that).
qint32 intakeEntryRow(const QString& entry);

// How the user knows entry k (1-based): the meal and the column, "朝食 3".
QString intakeEntryName(int entry);
