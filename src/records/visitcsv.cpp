// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/visitcsv.h"

#include "records/dates.h"

#include <QIODevice>
#include <QStringList>

namespace {

// Quoted when it holds a comma, a quote or a line end; a quote doubled.
// A field a spreadsheet would take for a formula starts with an apostrophe.
QString field(QString text) {
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front())) {
        text.prepend(QLatin1Char('\''));
    }
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QString number(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 15) : QString();
}

QString number(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

QString yesNo(bool value) {
    return value ? QStringLiteral("あり") : QStringLiteral("なし");
}

} // namespace

bool writeVisitsCsv(QIODevice& device, const QList<Visit>& visits) {
    const QStringList header{QStringLiteral("受診日"),
                             QStringLiteral("身長"),
                             QStringLiteral("体重"),
                             QStringLiteral("腹囲"),
                             QStringLiteral("収縮期血圧"),
                             QStringLiteral("拡張期血圧"),
                             QStringLiteral("中性脂肪"),
                             QStringLiteral("中性脂肪の採血"),
                             QStringLiteral("HDLコレステロール"),
                             QStringLiteral("空腹時血糖"),
                             QStringLiteral("随時血糖"),
                             QStringLiteral("HbA1c"),
                             QStringLiteral("喫煙"),
                             QStringLiteral("血圧の薬"),
                             QStringLiteral("血糖の薬"),
                             QStringLiteral("脂質の薬"),
                             QStringLiteral("メモ")};
    QString text = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const Visit& visit : visits) {
        const QStringList row{
            formatDate(visit.date),
            number(visit.heightCm),
            number(visit.weightKg),
            number(visit.waistCm),
            number(visit.systolic),
            number(visit.diastolic),
            number(visit.triglycerides),
            visit.triglycerides
                ? (visit.triglyceridesFasting ? QStringLiteral("空腹時") : QStringLiteral("随時"))
                : QString(),
            number(visit.hdl),
            number(visit.fastingGlucose),
            number(visit.casualGlucose),
            number(visit.hba1c),
            yesNo(visit.smoking),
            yesNo(visit.bloodPressureMedicine),
            yesNo(visit.glucoseMedicine),
            yesNo(visit.lipidMedicine),
            field(visit.memo),
        };
        text += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
    return device.write(bytes) == bytes.size();
}
