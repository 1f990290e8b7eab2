// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/energy.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "tables/table.h"

namespace {

// Double-precision constants narrowed on storing, so the factor is the float
// nearest to the double, not to the decimal.
const float ManFactor = static_cast<float>(0.9821);
const float WomanFactor = static_cast<float>(0.9833);

QString box(const QString& name) {
    return QStringLiteral("「%1」の入力欄").arg(name);
}

QString numberBox(int row) {
    return box(QStringLiteral("種目番号 %1").arg(row));
}

QString minutesBox(int row) {
    return box(QStringLiteral("時間 %1").arg(row));
}

// Runs one step, naming the box if the step fails.
template <class Step> auto blaming(const QString& source, Step&& step) {
    try {
        return step();
    } catch (const RuntimeError& e) {
        throw e.withSource(source);
    }
}

} // namespace

SexFactor readSex(const QString& text) {
    SexFactor sex;
    sex.code = blaming(box(QStringLiteral("性別")), [&] { return roundToInt32(leadingNumber(text)); });
    sex.factor = sex.code == 2 ? WomanFactor : ManFactor;
    return sex;
}

qint16 exerciseTotal(const Table& table, const ExerciseEntries& entries) {
    qint16 total = 0;
    for (int k = 1; k <= ExerciseRowCount; ++k) {
        const QString& numberText = entries[size_t(2 * k - 2)];
        const QString& minutesText = entries[size_t(2 * k - 1)];
        // The exercise number is read first but checked only after the minutes.
        const double number = blaming(numberBox(k), [&] { return leadingNumber(numberText); });
        const qint16 minutes = blaming(minutesBox(k), [&] { return exerciseMinutesOf(minutesText); });
        const qint16 rmr = blaming(numberBox(k), [&] { return table.row(roundToInt32(number)).value; });
        // A product or sum past 16 bits is laid at the minutes of the row that
        // took it there: they are what the user typed.
        total = blaming(minutesBox(k), [&] { return add16(total, mul16(rmr, minutes)); });
    }
    return total;
}

qint32 exerciseRowOf(const QString& numberText) {
    return roundToInt32(leadingNumber(numberText));
}

qint16 exerciseMinutesOf(const QString& minutesText) {
    return roundToInt16(leadingNumber(minutesText));
}

float energy(qint16 total, const SexFactor& sex) {
    return static_cast<float>(total) * sex.factor;
}

float computeEnergy(const Table& table, const ExerciseEntries& entries, const QString& sexText) {
    const SexFactor sex = readSex(sexText);
    return energy(exerciseTotal(table, entries), sex);
}
