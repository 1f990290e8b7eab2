// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/caption.h"

#include "forms/fonts.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

#include <cmath>

namespace {

constexpr QChar ideographicSpace(0x3000);

// The full-width spaces of a caption, each made a third of an em narrower.
QList<QTextLayout::FormatRange> narrowSpaces(const QFont& font, const QString& text) {
    QTextCharFormat narrow;
    narrow.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    const qreal em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    narrow.setFontLetterSpacing(-std::round(em / 3.0));
    QList<QTextLayout::FormatRange> ranges;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != ideographicSpace)
            continue;
        qsizetype end = i;
        while (end < text.size() && text[end] == ideographicSpace)
            ++end;
        ranges.append({int(i), int(end - i), narrow});
        i = end;
    }
    return ranges;
}

bool isHiragana(QChar c) {
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool startsWord(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x30A1 && u <= 0x30FA) || c.isLetterOrNumber();
}

// Japanese text may break between any two characters. Where a caption must
// break, a break after hiragana before a kanji, katakana or Latin word keeps
// that word whole: "次の" over "ページ", not "次のペー" over "ジ". The length of
// the line that breaks there, or its own length if it has no such place.
int wordBreak(const QString& text, int start, int length) {
    for (int end = start + length; end > start + 1; --end) {
        if (isHiragana(text.at(end - 1)) && startsWord(text.at(end)))
            return end - start;
    }
    return length;
}

// Lays the caption out in lines no wider than width; returns its height.
// Lines stand one line height of the Japanese face apart, each with its
// baseline where that face puts it.
qreal layOut(QTextLayout& layout, qreal width, Qt::Alignment alignment) {
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFormats(narrowSpaces(layout.font(), layout.text()));
    const QFontMetricsF metrics(metricsFace(layout.font()));
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (line.textStart() + line.textLength() < layout.text().size())
            line.setNumColumns(wordBreak(layout.text(), line.textStart(), line.textLength()), width);
        line.setPosition(QPointF(0, y + metrics.ascent() - line.ascent()));
        y += metrics.height();
    }
    layout.endLayout();
    return y;
}

} // namespace

QStringList captionLines(const QFont& font, const QString& text, qreal width) {
    QTextLayout layout(text, font);
    layOut(layout, width, Qt::AlignLeft);
    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i)
        lines.append(text.mid(layout.lineAt(i).textStart(), layout.lineAt(i).textLength()));
    return lines;
}

void drawCaption(QPainter& painter, const QRect& rect, const QFont& font, const QString& text,
                 Qt::Alignment alignment, const QColor& colour) {
    QTextLayout layout(text, font);
    const qreal height = layOut(layout, rect.width(), alignment);
    qreal top = rect.top();
    if (alignment & Qt::AlignVCenter)
        top += (rect.height() - height) / 2;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(colour);
    layout.draw(&painter, QPointF(rect.left(), top));
    painter.restore();
}

LabelControl::LabelControl(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void LabelControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawCaption(painter, contentsRect(), font(), text(), alignment(), palette().color(foregroundRole()));
}

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    // Outside a dialog QPushButton leaves Return to its window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear(); // the frame and focus mark from the style, the caption from us
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        contents.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const QColor colour =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    drawCaption(painter, contents, font(), caption, Qt::AlignCenter, colour);
}
