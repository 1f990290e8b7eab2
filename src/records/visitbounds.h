// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bounds a client's and a visit's values must keep before they are saved.

#include "records/record.h"

#include <QDate>
#include <QString>

#include <optional>

// The first field that is out of bounds: its label (e.g. "身長") and the
// message naming it and its bounds.
struct FieldProblem {
    QString field;
    QString message;
};

// nullopt when all values hold.
std::optional<FieldProblem> checkClient(const Client& client, const QDate& today);
std::optional<FieldProblem> checkVisit(const Visit& visit, const Client& client, const QDate& today);

// A measurement typed into a box, read as every number of the program is
// (full-width digits count): nullopt for a blank box. Text that is no number
// reads as 0, which no bound admits.
std::optional<double> measurementFromText(const QString& text);
std::optional<int> wholeMeasurementFromText(const QString& text);
