// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Standard body weight and BMI from a height in centimetres and a weight in
// kilograms. The window calls these one step at a time, printing in between,
// so a failure in a later step leaves the earlier results on screen.

enum class BmiClass { Thin, Normal, Heavy };

struct BodyInputs {
    qint32 height = 0; // centimetres
    qint32 weight = 0; // kilograms
};

// Each box's text as a whole number: its leading number rounded, halves to
// even. The height is read first; a number beyond the 32-bit range is the
// overflow error naming the box.
BodyInputs readBodyInputs(const QString& heightText, const QString& weightText);

// The three rules of the standard weight, by height.
enum class StandardWeightRule { Tall, Middle, Short };
StandardWeightRule standardWeightRule(qint32 height);
// The rule in the words a client reads: "身長 160 cm 以上: (身長 − 100) × 0.9".
QString standardWeightRuleText(StandardWeightRule rule);

// Standard weight in kilograms. 160 cm and up: (h - 100) x 0.9; 150 to 159:
// (h - 100) / 10 x 0.4 + 50; below 150: h - 100.
double standardWeight(qint32 height);

// weight / (height x 0.01 x height x 0.01), rounded halves to even. A zero
// height is the division-by-zero error, or the overflow error when the weight
// is zero as well; a quotient beyond 32 bits is the overflow error. Each
// names the height box.
qint32 bodyMassIndex(qint32 height, qint32 weight);

// The same two for a measured height and weight with their decimals, as a
// record keeps them: the standard weight by the rules above, and the BMI to
// one decimal (halves away from zero). The height must be above zero.
double standardWeight(double heightCm);
double bodyMassIndex(double heightCm, double weightKg);

// Where the classes part: a BMI below the first is thin, one above the
// second heavy.
inline constexpr double ThinBmiBelow = 18.5;
inline constexpr double HeavyBmiAbove = 25;

// 18 or less thin, 19 to 25 normal, 26 or more heavy.
BmiClass bmiClassOf(qint32 bmi);
// The class in words: やせ, ふつう, 肥満.
QString bmiClassName(BmiClass bmiClass);
