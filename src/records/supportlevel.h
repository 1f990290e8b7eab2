// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The level of support the national health-check programme gives a checked
// adult, worked from one visit's values: the body first (waist, else BMI),
// then the added risks, then the exceptions of age and medicine.

#include "records/record.h"

#include <QStringList>

#include <optional>

enum class SupportLevel { Active, Motivational, Information, NotSubject };

// Exactly 積極的支援, 動機付け支援, 情報提供 or 対象外.
QString supportLevelText(SupportLevel level);

struct SupportAssessment {
    SupportLevel level = SupportLevel::Information;
    // In the order the rule reads them, each in words a client can follow:
    // "腹囲 92 cm（男性 85 cm 以上）".
    QStringList reasons;
    // Some value that could have changed the level was not measured; it
    // counted as absent.
    bool valuesMissing = false;
};

SupportAssessment assessSupport(const Client& client, const Visit& visit);

// The BMI of a visit to one decimal, as the record shows it; none without
// both height and weight.
std::optional<double> visitBmi(const Visit& visit);

// The age reached by 31 March of the fiscal year (April to March) that holds
// `day`; one born on 1 April reaches each age on 31 March.
int fiscalYearEndAge(const QDate& birth, const QDate& day);

// The rule's bounds: "from" is the first value that counts, "below" the
// first that does not.
namespace support {
inline constexpr double MaleWaistFromCm = 85;
inline constexpr double FemaleWaistFromCm = 90;
inline constexpr double BmiFrom = 25;
inline constexpr int FastingGlucoseFrom = 100; // mg/dl
inline constexpr double Hba1cFrom = 5.6;       // %, when there is no fasting value
inline constexpr int CasualGlucoseFrom = 100;  // mg/dl, when there is neither
inline constexpr int FastingTriglyceridesFrom = 150;
inline constexpr int CasualTriglyceridesFrom = 175;
inline constexpr int HdlBelow = 40;
inline constexpr int SystolicFrom = 130; // mmHg
inline constexpr int DiastolicFrom = 85;
// Risks that make 積極的支援: from the waist, or from BMI alone.
inline constexpr int WaistActiveRisks = 2;
inline constexpr int BmiActiveRisks = 3;
inline constexpr int ProgrammeAgeFrom = 40;
inline constexpr int ProgrammeAgeTo = 74;
inline constexpr int OlderAgeFrom = 65; // 積極的支援 becomes 動機付け支援
} // namespace support
