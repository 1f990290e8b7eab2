// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/supportlevel.h"

#include "body/bodymeasure.h"

using namespace support;

QString supportLevelText(SupportLevel level) {
    switch (level) {
    case SupportLevel::Active:
        return QStringLiteral("積極的支援");
    case SupportLevel::Motivational:
        return QStringLiteral("動機付け支援");
    case SupportLevel::Information:
        return QStringLiteral("情報提供");
    case SupportLevel::NotSubject:
        break;
    }
    return QStringLiteral("対象外");
}

std::optional<double> visitBmi(const Visit& visit) {
    if (!visit.heightCm || !visit.weightKg || *visit.heightCm <= 0)
        return std::nullopt;
    return bodyMassIndex(*visit.heightCm, *visit.weightKg);
}

int fiscalYearEndAge(const QDate& birth, const QDate& day) {
    // By law an age is reached the day before the birthday, so the age on
    // 31 March is the ordinary age on the 1 April that follows.
    const int endYear = day.month() >= 4 ? day.year() + 1 : day.year();
    const QDate next(endYear, 4, 1);
    int age = next.year() - birth.year();
    if (next.month() < birth.month() || (next.month() == birth.month() && next.day() < birth.day()))
        --age;
    return age;
}

namespace {

QString number(double value) {
    return QString::number(value, 'g', 6);
}

QString measured(const std::optional<int>& value) {
    return value ? QString::number(*value) : QStringLiteral("未測定");
}

// Step 2. Each risk adds its reason; a risk not met whose values were not all
// measured marks the level as resting on missing values.
struct Risks {
    int count = 0;
    bool missing = false;
    QStringList reasons;
};

void glucose(const Visit& v, Risks& r) {
    // The fasting value decides where there is one; HbA1c stands in for it,
    // and a casual value for both.
    if (v.fastingGlucose) {
        if (*v.fastingGlucose >= FastingGlucoseFrom) {
            ++r.count;
            r.reasons << QStringLiteral("空腹時血糖 %1 mg/dl（%2 以上）")
                             .arg(*v.fastingGlucose)
                             .arg(FastingGlucoseFrom);
        }
    } else if (v.hba1c) {
        if (*v.hba1c >= Hba1cFrom) {
            ++r.count;
            r.reasons << QStringLiteral("HbA1c %1 %（%2 以上）")
                             .arg(QString::number(*v.hba1c, 'f', 1), QString::number(Hba1cFrom, 'f', 1));
        }
    } else if (v.casualGlucose) {
        if (*v.casualGlucose >= CasualGlucoseFrom) {
            ++r.count;
            r.reasons << QStringLiteral("随時血糖 %1 mg/dl（%2 以上）")
                             .arg(*v.casualGlucose)
                             .arg(CasualGlucoseFrom);
        }
    } else {
        r.missing = true;
        r.reasons << QStringLiteral("血糖 未測定");
    }
}

void lipids(const Visit& v, Risks& r) {
    bool met = false;
    if (v.triglycerides) {
        const int from = v.triglyceridesFasting ? FastingTriglyceridesFrom : CasualTriglyceridesFrom;
        if (*v.triglycerides >= from) {
            met = true;
            r.reasons << QStringLiteral("中性脂肪 %1 mg/dl（%2 %3 以上）")
                             .arg(*v.triglycerides)
                             .arg(v.triglyceridesFasting ? QStringLiteral("空腹時") : QStringLiteral("随時"))
                             .arg(from);
        }
    }
    if (v.hdl && *v.hdl < HdlBelow) {
        met = true;
        r.reasons << QStringLiteral("HDLコレステロール %1 mg/dl（%2 未満）").arg(*v.hdl).arg(HdlBelow);
    }
    if (met) {
        ++r.count;
    } else if (!v.triglycerides || !v.hdl) {
        r.missing = true;
        r.reasons << (!v.triglycerides && !v.hdl ? QStringLiteral("脂質 未測定")
                      : !v.triglycerides         ? QStringLiteral("中性脂肪 未測定")
                                                 : QStringLiteral("HDLコレステロール 未測定"));
    }
}

void bloodPressure(const Visit& v, Risks& r) {
    QStringList over;
    if (v.systolic && *v.systolic >= SystolicFrom)
        over << QStringLiteral("収縮期 %1 以上").arg(SystolicFrom);
    if (v.diastolic && *v.diastolic >= DiastolicFrom)
        over << QStringLiteral("拡張期 %1 以上").arg(DiastolicFrom);
    if (!over.isEmpty()) {
        ++r.count;
        r.reasons << QStringLiteral("血圧 %1/%2 mmHg（%3）")
                         .arg(measured(v.systolic), measured(v.diastolic), over.join(QStringLiteral("、")));
    } else if (!v.systolic || !v.diastolic) {
        r.missing = true;
        r.reasons
            << (!v.systolic && !v.diastolic
                    ? QStringLiteral("血圧 未測定")
                    : QStringLiteral("血圧 %1/%2 mmHg").arg(measured(v.systolic), measured(v.diastolic)));
    }
}

} // namespace

SupportAssessment assessSupport(const Client& client, const Visit& visit) {
    SupportAssessment out;
    const bool ageKnown = client.birthDate.isValid() && visit.date.isValid();
    const int age = ageKnown ? fiscalYearEndAge(client.birthDate, visit.date) : 0;
    const QString ageOutside =
        ageKnown && (age < ProgrammeAgeFrom || age > ProgrammeAgeTo)
            ? QStringLiteral("年度末の年齢 %1 歳：特定保健指導の対象年齢（%2〜%3 歳）外")
                  .arg(age)
                  .arg(ProgrammeAgeFrom)
                  .arg(ProgrammeAgeTo)
            : QString();

    if (visit.bloodPressureMedicine || visit.glucoseMedicine || visit.lipidMedicine) {
        out.level = SupportLevel::NotSubject;
        out.reasons << QStringLiteral("服薬中のため特定保健指導の対象外");
        if (!ageOutside.isEmpty())
            out.reasons << ageOutside;
        return out;
    }

    // Step 1: the body.
    const bool woman = client.sex == Sex::Female;
    const double waistFrom = woman ? FemaleWaistFromCm : MaleWaistFromCm;
    const QString sexName = woman ? QStringLiteral("女性") : QStringLiteral("男性");
    const std::optional<double> bmi = visitBmi(visit);
    int activeFrom = 0;
    if (visit.waistCm && *visit.waistCm >= waistFrom) {
        activeFrom = WaistActiveRisks;
        out.reasons << QStringLiteral("腹囲 %1 cm（%2 %3 cm 以上）")
                           .arg(number(*visit.waistCm), sexName, number(waistFrom));
    } else {
        if (visit.waistCm) {
            out.reasons << QStringLiteral("腹囲 %1 cm（%2 %3 cm 未満）")
                               .arg(number(*visit.waistCm), sexName, number(waistFrom));
        } else {
            out.valuesMissing = true;
            out.reasons << QStringLiteral("腹囲 未測定");
        }
        if (bmi && *bmi >= BmiFrom) {
            activeFrom = BmiActiveRisks;
            out.reasons
                << QStringLiteral("BMI %1（%2 以上）").arg(QString::number(*bmi, 'f', 1), number(BmiFrom));
        } else if (bmi) {
            out.reasons
                << QStringLiteral("BMI %1（%2 未満）").arg(QString::number(*bmi, 'f', 1), number(BmiFrom));
        } else {
            out.valuesMissing = true;
            out.reasons << QStringLiteral("BMI 未測定（身長・体重）");
        }
    }

    if (activeFrom == 0) {
        out.level = SupportLevel::Information;
    } else {
        // Step 2: the added risks, smoking counted only beside another.
        Risks risks;
        glucose(visit, risks);
        lipids(visit, risks);
        bloodPressure(visit, risks);
        if (visit.smoking) {
            if (risks.count > 0) {
                ++risks.count;
                risks.reasons << QStringLiteral("喫煙（①〜③に該当があるため加算）");
            } else {
                risks.reasons << QStringLiteral("喫煙（①〜③に該当がないため加算しない）");
            }
        }
        out.reasons << risks.reasons;
        out.valuesMissing = out.valuesMissing || risks.missing;
        out.reasons << QStringLiteral("追加リスク %1 個").arg(risks.count);

        // Step 3: the level.
        out.level = risks.count >= activeFrom ? SupportLevel::Active
                    : risks.count > 0         ? SupportLevel::Motivational
                                              : SupportLevel::Information;
        // Step 4: the older ones get the lighter support.
        if (out.level == SupportLevel::Active && ageKnown && age >= OlderAgeFrom && age <= ProgrammeAgeTo) {
            out.level = SupportLevel::Motivational;
            out.reasons << QStringLiteral("年度末の年齢 %1 歳（%2〜%3 歳）のため積極的支援は動機付け支援に")
                               .arg(age)
                               .arg(OlderAgeFrom)
                               .arg(ProgrammeAgeTo);
        }
    }
    if (!ageOutside.isEmpty())
        out.reasons << ageOutside;
    if (out.valuesMissing)
        out.reasons << QStringLiteral("未測定の値は該当なしとして判定しました");
    return out;
}
