// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the counsellor's record holds: the people seen, and each visit with
// the measurements of a health check. Plain values; the record file
// (recordfile.h) keeps them, the rules read them.

#include <QDate>
#include <QString>

#include <optional>

enum class Sex { Male, Female };

struct Client {
    qint64 id = 0;    // 0 until the record file has kept it
    QString name;     // 氏名, 1 to 40 characters
    QString furigana; // ふりがな, as typed (kana or empty)
    Sex sex = Sex::Male;
    QDate birthDate;
    QString number; // 番号 the clinic gives; may be empty
};

// One visit. A measurement left empty is std::nullopt, never 0.
struct Visit {
    qint64 id = 0; // 0 until kept
    qint64 clientId = 0;
    QDate date;                         // 受診日
    std::optional<double> heightCm;     // 身長
    std::optional<double> weightKg;     // 体重
    std::optional<double> waistCm;      // 腹囲
    std::optional<int> systolic;        // 収縮期血圧, mmHg
    std::optional<int> diastolic;       // 拡張期血圧, mmHg
    std::optional<int> triglycerides;   // 中性脂肪, mg/dl
    bool triglyceridesFasting = true;   // 空腹時 (else 随時)
    std::optional<int> hdl;             // HDLコレステロール, mg/dl
    std::optional<int> fastingGlucose;  // 空腹時血糖, mg/dl
    std::optional<int> casualGlucose;   // 随時血糖, mg/dl
    std::optional<double> hba1c;        // HbA1c, %
    bool smoking = false;               // 喫煙
    bool bloodPressureMedicine = false; // 血圧の薬
    bool glucoseMedicine = false;       // 血糖の薬
    bool lipidMedicine = false;         // 脂質の薬
    QString memo;                       // メモ
};
