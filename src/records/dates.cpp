// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/dates.h"

#include <QRegularExpression>

#include <array>

namespace {

struct Era {
    QString name;
    char16_t letter; // S35.4.2
    QDate firstDay;
    int firstYear; // the Western year of its year 1
};

// The Western calendar began on 明治6年1月1日; earlier 明治 dates were of
// the old calendar and are not read.
const std::array<Era, 5> eras{{
    {QStringLiteral("明治"), u'M', QDate(1873, 1, 1), 1868},
    {QStringLiteral("大正"), u'T', QDate(1912, 7, 30), 1912},
    {QStringLiteral("昭和"), u'S', QDate(1926, 12, 25), 1926},
    {QStringLiteral("平成"), u'H', QDate(1989, 1, 8), 1989},
    {QStringLiteral("令和"), u'R', QDate(2019, 5, 1), 2019},
}};

std::optional<QDate> validDate(int year, int month, int day) {
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

} // namespace

std::optional<QDate> parseDate(const QString& text) {
    // NFKC: full-width digits, letters and signs as ASCII.
    QString plain = text.normalized(QString::NormalizationForm_KC).trimmed().toUpper();
    plain.remove(QLatin1Char(' '));

    static const QRegularExpression western(
        QStringLiteral("^(\\d{4})(?:([-/.])(\\d{1,2})\\2(\\d{1,2})|年(\\d{1,2})月(\\d{1,2})日)$"));
    if (const auto match = western.match(plain); match.hasMatch()) {
        const bool kanji = match.capturedLength(2) == 0;
        return validDate(match.captured(1).toInt(), match.captured(kanji ? 5 : 3).toInt(),
                         match.captured(kanji ? 6 : 4).toInt());
    }

    static const QRegularExpression japanese(
        QStringLiteral("^(明治|大正|昭和|平成|令和|[MTSHR])(\\d{1,2}|元)(?:年(\\d{1,2})月(\\d{1,2})日|([-/"
                       ".])(\\d{1,2})\\5(\\d{1,2}))$"));
    const auto match = japanese.match(plain);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QString name = match.captured(1);
    const auto era = std::find_if(eras.begin(), eras.end(), [&](const Era& e) {
        return e.name == name || (name.size() == 1 && name.at(0) == QChar(e.letter));
    });
    const int eraYearNumber = match.captured(2) == QStringLiteral("元") ? 1 : match.captured(2).toInt();
    if (eraYearNumber < 1) {
        return std::nullopt;
    }
    const bool kanji = match.capturedLength(5) == 0;
    const auto date = validDate(era->firstYear + eraYearNumber - 1, match.captured(kanji ? 3 : 6).toInt(),
                                match.captured(kanji ? 4 : 7).toInt());
    // Only a day of that era: 平成元年1月7日 was still 昭和.
    const auto next = era + 1;
    if (!date || *date < era->firstDay || (next != eras.end() && *date >= next->firstDay)) {
        return std::nullopt;
    }
    return date;
}

QString formatDate(const QDate& date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QString eraYear(const QDate& date) {
    if (!date.isValid()) {
        return {};
    }
    for (auto era = eras.rbegin(); era != eras.rend(); ++era) {
        if (date >= era->firstDay) {
            const int year = date.year() - era->firstYear + 1;
            return era->name + (year == 1 ? QStringLiteral("元") : QString::number(year)) +
                   QStringLiteral("年");
        }
    }
    return {};
}
