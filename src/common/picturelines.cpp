// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/picturelines.h"

void PictureLines::clear() {
    m_lines.clear();
    m_yielding.clear();
    m_lineOpen = false;
    emit changed();
}

QStringList& PictureLines::openLine() {
    if (!m_lineOpen) {
        m_lines.append(QStringList{QString()});
        m_yielding.append(std::nullopt);
        m_lineOpen = true;
    }
    return m_lines.last();
}

void PictureLines::print(const QString& text) {
    openLine().last() += text;
    emit changed();
}

void PictureLines::printYielding(const QString& text) {
    QStringList& line = openLine();
    m_yielding.last() = Span{line.size() - 1, line.last().size(), text.size()};
    line.last() += text;
    emit changed();
}

void PictureLines::nextZone() {
    openLine().append(QString());
    emit changed();
}

void PictureLines::endLine() {
    openLine();
    m_lineOpen = false;
    emit changed();
}

QString PictureLines::lineText(int index) const {
    return index >= 0 && index < m_lines.size() ? m_lines[index].join(u'\t') : QString();
}

std::optional<PictureLines::Span> PictureLines::yieldingSpan(int index) const {
    return index >= 0 && index < m_yielding.size() ? m_yielding[index] : std::nullopt;
}

QString PictureLines::text() const {
    QStringList all;
    all.reserve(m_lines.size());
    for (const QStringList& line : m_lines)
        all.append(line.join(u'\t'));
    return all.join(u'\n');
}
