// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/intake.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "tables/table.h"

QString intakeEntryName(int entry) {
    static const char16_t* const meals[] = {u"朝食", u"昼食", u"夕食"};
    const int meal = (entry - 1) / 10;
    const int column = (entry - 1) % 10 + 1;
    return QStringLiteral("%1 %2").arg(QString::fromUtf16(meals[meal])).arg(column);
}

qint32 intakeEntryRow(const QString& entry) {
    return roundToInt32(leadingNumber(entry));
}

IntakeTotals computeIntake(const Table& table, const IntakeEntries& entries) {
    qint32 sums[3] = {0, 0, 0};
    for (int k = 1; k <= IntakeEntryCount; ++k) {
        try {
            const qint32 row = intakeEntryRow(entries[size_t(k - 1)]);
            sums[(k - 1) / 10] += table.row(row).value;
        } catch (const RuntimeError& e) {
            throw e.withSource(QStringLiteral("「%1」の入力欄").arg(intakeEntryName(k)));
        }
    }
    IntakeTotals totals;
    totals.breakfast = sums[0];
    totals.lunch = sums[1];
    totals.dinner = sums[2];
    try {
        totals.day = toInt16(qint64(sums[0]) + sums[1] + sums[2]);
    } catch (const RuntimeError& e) {
        throw e.withSource(QStringLiteral("一日の合計"));
    }
    return totals;
}
