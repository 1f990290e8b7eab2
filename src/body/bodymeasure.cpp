// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodymeasure.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"

#include <cmath>

namespace {

QString box(const QString& name) {
    return QStringLiteral("「%1」の入力欄").arg(name);
}

qint32 wholeNumberOf(const QString& text, const QString& name) {
    try {
        return roundToInt32(leadingNumber(text));
    } catch (const RuntimeError& e) {
        throw e.withSource(box(name));
    }
}

} // namespace

BodyInputs readBodyInputs(const QString& heightText, const QString& weightText) {
    BodyInputs inputs;
    inputs.height = wholeNumberOf(heightText, QStringLiteral("身長"));
    inputs.weight = wholeNumberOf(weightText, QStringLiteral("体重"));
    return inputs;
}

namespace {

constexpr qint32 TallFrom = 160;
// 150 itself falls between the designed bands; it takes the middle rule so
// that every height gets a weight.
constexpr qint32 MiddleFrom = 150;

} // namespace

StandardWeightRule standardWeightRule(qint32 height) {
    if (height >= TallFrom)
        return StandardWeightRule::Tall;
    if (height >= MiddleFrom)
        return StandardWeightRule::Middle;
    return StandardWeightRule::Short;
}

double standardWeight(qint32 height) {
    return standardWeight(double(height));
}

double standardWeight(double heightCm) {
    const double difference = heightCm - 100;
    if (heightCm >= TallFrom)
        return difference * 0.9;
    if (heightCm >= MiddleFrom)
        return difference / 10 * 0.4 + 50;
    return difference;
}

double bodyMassIndex(double heightCm, double weightKg) {
    const double metres = heightCm / 100;
    return std::round(weightKg / (metres * metres) * 10) / 10;
}

// Kept beside the arithmetic above: a change to one is a change to the other.
QString standardWeightRuleText(StandardWeightRule rule) {
    switch (rule) {
    case StandardWeightRule::Tall:
        return QStringLiteral("身長 %1 cm 以上: (身長 − 100) × 0.9").arg(TallFrom);
    case StandardWeightRule::Middle:
        return QStringLiteral("身長 %1〜%2 cm: (身長 − 100) ÷ 10 × 0.4 + 50")
            .arg(MiddleFrom)
            .arg(TallFrom - 1);
    case StandardWeightRule::Short:
        break;
    }
    return QStringLiteral("身長 %1 cm 未満: 身長 − 100").arg(MiddleFrom);
}

qint32 bodyMassIndex(qint32 height, qint32 weight) {
    // Built factor by factor in this order; the results at the .5 boundaries
    // depend on it.
    const double divisor = ((height * 0.01) * height) * 0.01;
    // Either failure comes of the height: a zero divisor, or one so small
    // that the quotient leaves 32 bits.
    const QString cause = box(QStringLiteral("身長"));
    if (divisor == 0)
        throw RuntimeError(weight == 0 ? ErrorKind::Overflow : ErrorKind::DivisionByZero, cause);
    try {
        return roundToInt32(weight / divisor);
    } catch (const RuntimeError& e) {
        throw e.withSource(cause);
    }
}

QString bmiClassName(BmiClass bmiClass) {
    switch (bmiClass) {
    case BmiClass::Thin:
        return QStringLiteral("やせ");
    case BmiClass::Normal:
        return QStringLiteral("ふつう");
    case BmiClass::Heavy:
        return QStringLiteral("肥満");
    }
    return {};
}

BmiClass bmiClassOf(qint32 bmi) {
    if (bmi < ThinBmiBelow)
        return BmiClass::Thin;
    if (bmi <= HeavyBmiAbove)
        return BmiClass::Normal;
    return BmiClass::Heavy;
}
