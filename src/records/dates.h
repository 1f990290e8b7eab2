// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Dates as a Japanese user types and reads them.

#include <QDate>
#include <QString>

#include <optional>

// 2026-06-01, 2026/6/1, 2026年6月1日, 昭和35年4月2日, 令和元年5月1日,
// S35.4.2, R8.6.1 (M, T, S, H, R; also lower case), full-width digits and
// letters alike. A date before its era's first day is refused, as is a day
// that is not in the calendar.
std::optional<QDate> parseDate(const QString& text);

// 2026-06-01
QString formatDate(const QDate& date);

// The era and its year, e.g. 昭和35年, 令和元年; empty before 明治 6 (1873,
// when the calendar began) or for an invalid date.
QString eraYear(const QDate& date);
