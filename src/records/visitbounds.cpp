// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/visitbounds.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "records/dates.h"

#include <limits>

namespace {

// A measurement's bounds, both kept, and its unit as printed.
struct Bound {
    QString field;
    double low;
    double high;
    int decimals;
    QString unit;
};

QString shown(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

template <typename T> std::optional<FieldProblem> outside(const std::optional<T>& value, const Bound& bound) {
    if (!value || (*value >= bound.low && *value <= bound.high)) {
        return std::nullopt;
    }
    return FieldProblem{bound.field, QStringLiteral("%1は %2～%3 %4 の範囲で入力してください。")
                                         .arg(bound.field, shown(bound.low, bound.decimals),
                                              shown(bound.high, bound.decimals), bound.unit)};
}

bool isBlank(const QString& text) {
    for (QChar c : text) {
        if (!c.isSpace()) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<FieldProblem> checkClient(const Client& client, const QDate& today) {
    const QString name = client.name.trimmed();
    const auto length = name.toUcs4().size();
    if (length < 1 || length > 40) {
        return FieldProblem{QStringLiteral("氏名"), QStringLiteral("氏名は 1～40 文字で入力してください。")};
    }
    if (client.birthDate.isValid() && client.birthDate > today) {
        return FieldProblem{
            QStringLiteral("生年月日"),
            QStringLiteral("生年月日は今日（%1）までの日付で入力してください。").arg(formatDate(today))};
    }
    return std::nullopt;
}

std::optional<FieldProblem> checkVisit(const Visit& visit, const Client& client, const QDate& today) {
    if (!visit.date.isValid()) {
        return FieldProblem{
            QStringLiteral("受診日"),
            QStringLiteral("受診日を 2026-06-01 や 令和8年6月1日 のように入力してください。")};
    }
    if (visit.date > today) {
        return FieldProblem{
            QStringLiteral("受診日"),
            QStringLiteral("受診日は今日（%1）までの日付で入力してください。").arg(formatDate(today))};
    }
    if (client.birthDate.isValid() && visit.date < client.birthDate) {
        return FieldProblem{QStringLiteral("受診日"),
                            QStringLiteral("受診日は生年月日（%1）より後の日付で入力してください。")
                                .arg(formatDate(client.birthDate))};
    }
    const QString cm = QStringLiteral("cm");
    const QString mmHg = QStringLiteral("mmHg");
    const QString mgdl = QStringLiteral("mg/dl");
    std::optional<FieldProblem> problem;
    if ((problem = outside(visit.heightCm, {QStringLiteral("身長"), 50, 250, 1, cm})) ||
        (problem = outside(visit.weightKg, {QStringLiteral("体重"), 10, 300, 1, QStringLiteral("kg")})) ||
        (problem = outside(visit.waistCm, {QStringLiteral("腹囲"), 40, 200, 1, cm})) ||
        (problem = outside(visit.systolic, {QStringLiteral("収縮期血圧"), 40, 300, 0, mmHg})) ||
        (problem = outside(visit.diastolic, {QStringLiteral("拡張期血圧"), 40, 300, 0, mmHg}))) {
        return problem;
    }
    if (visit.systolic && visit.diastolic && *visit.systolic <= *visit.diastolic) {
        return FieldProblem{QStringLiteral("収縮期血圧"),
                            QStringLiteral("収縮期血圧は拡張期血圧より高い値で入力してください。")};
    }
    if ((problem = outside(visit.triglycerides, {QStringLiteral("中性脂肪"), 10, 5000, 0, mgdl})) ||
        (problem = outside(visit.hdl, {QStringLiteral("HDLコレステロール"), 5, 300, 0, mgdl})) ||
        (problem = outside(visit.fastingGlucose, {QStringLiteral("空腹時血糖"), 20, 1000, 0, mgdl})) ||
        (problem = outside(visit.casualGlucose, {QStringLiteral("随時血糖"), 20, 1000, 0, mgdl})) ||
        (problem = outside(visit.hba1c, {QStringLiteral("HbA1c"), 3, 20, 1, QStringLiteral("%")}))) {
        return problem;
    }
    return std::nullopt;
}

std::optional<double> measurementFromText(const QString& text) {
    if (isBlank(text)) {
        return std::nullopt;
    }
    try {
        return leadingNumber(text);
    } catch (const RuntimeError&) {
        // Too large to read: no bound admits it.
        return std::numeric_limits<double>::infinity();
    }
}

std::optional<int> wholeMeasurementFromText(const QString& text) {
    const auto value = measurementFromText(text);
    if (!value) {
        return std::nullopt;
    }
    try {
        return roundToInt32(*value);
    } catch (const RuntimeError&) {
        return std::numeric_limits<int>::max();
    }
}
