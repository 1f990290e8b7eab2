// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/printedlines.h"

void PrintedLines::clear() {
    m_lines.clear();
    m_yielding.clear();
    m_lineOpen = false;
    emit changed();
}

QStringList& PrintedLines::openLine() {
    if (!m_lineOpen) {
        m_lines.append(QStringList{QString()});
        m_yielding.append(std::nullopt);
        m_lineOpen = true;
    }
    return m_lines.last();
}

void PrintedLines::print(const QString& text) {
    openLine().last() += text;
    emit changed();
}

void PrintedLines::printYielding(const QString& text) {
    QStringList& line = openLine();
    m_yielding.last() = Span{line.size() - 1, line.last().size(), text.size()};
    line.last() += text;
    emit changed();
}

void PrintedLines::nextZone() {
    openLine().append(QString());
    emit changed();
}

void PrintedLines::endLine() {
    openLine();
    m_lineOpen = false;
    emit changed();
}

QString PrintedLines::lineText(int index) const {
    return index >= 0 && index < m_lines.size() ? m_lines[index].join(u'\t') : QString();
}

std::optional<PrintedLines::Span> PrintedLines::yieldingSpan(int index) const {
    return index >= 0 && index < m_yielding.size() ? m_yielding[index] : std::nullopt;
}

QString PrintedLines::text() const {
    QStringList all;
    all.reserve(m_lines.size());
    for (const QStringList& line : m_lines)
        all.append(line.join(u'\t'));
    return all.join(u'\n');
}
