// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodymeasure.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"

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

double standardWeight(qint32 height) {
    const double difference = double(height) - 100;
    if (height >= 160)
        return difference * 0.9;
    // 150 itself falls between the designed bands; it takes the middle rule
    // so that every height gets a weight.
    if (height >= 150)
        return difference / 10 * 0.4 + 50;
    return difference;
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
    if (bmi < 18.5)
        return BmiClass::Thin;
    if (bmi <= 25)
        return BmiClass::Normal;
    return BmiClass::Heavy;
}
