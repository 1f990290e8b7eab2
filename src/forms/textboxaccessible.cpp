// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/textboxaccessible.h"

#include "forms/pictureaccessible.h"
#include "forms/textbox.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

TextBoxAccessible::TextBoxAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::EditableText) {}

QPlainTextEdit* TextBoxAccessible::box() const {
    return static_cast<QPlainTextEdit*>(widget());
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.selectableText = true;
    s.multiLine = true;
    if (box()->isReadOnly())
        s.readOnly = true;
    else
        s.editable = true;
    return s;
}

QString TextBoxAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return accessibleText(box()->toPlainText());
    return QAccessibleWidget::text(kind);
}

void TextBoxAccessible::setText(QAccessible::Text kind, const QString& text) {
    if (kind != QAccessible::Value) {
        QAccessibleWidget::setText(kind, text);
        return;
    }
    if (!box()->isReadOnly())
        box()->setPlainText(wholeCharacters(text));
}

QTextCursor TextBoxAccessible::span(int startOffset, int endOffset) const {
    const int count = characterCount();
    QTextCursor cursor(box()->document());
    cursor.setPosition(std::clamp(startOffset, 0, count));
    cursor.setPosition(endOffset < 0 ? count : std::clamp(endOffset, 0, count), QTextCursor::KeepAnchor);
    return cursor;
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const QTextCursor cursor = box()->textCursor();
    const bool any = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = any ? cursor.selectionStart() : 0;
    *endOffset = any ? cursor.selectionEnd() : 0;
}

int TextBoxAccessible::selectionCount() const {
    return box()->textCursor().hasSelection() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = box()->textCursor();
    cursor.clearSelection();
    box()->setTextCursor(cursor);
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        box()->setTextCursor(span(startOffset, endOffset));
}

int TextBoxAccessible::cursorPosition() const {
    return box()->textCursor().position();
}

void TextBoxAccessible::setCursorPosition(int position) {
    box()->setTextCursor(span(position, position));
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    // One character more on each side, so that a pair cut by the range's
    // edge reads as its halves, as the whole text would show them.
    const QTextCursor range = span(startOffset, endOffset);
    const int start = range.selectionStart();
    const int end = range.selectionEnd();
    const QTextCursor wider = span(start - 1, end + 1);
    QString text = wider.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return accessibleText(text).mid(start - wider.selectionStart(), end - start);
}

int TextBoxAccessible::characterCount() const {
    QTextCursor cursor(box()->document());
    cursor.movePosition(QTextCursor::End);
    return cursor.position();
}

QRect TextBoxAccessible::characterRect(int offset) const {
    if (offset < 0 || offset > characterCount())
        return {};
    QTextCursor cursor(box()->document());
    cursor.setPosition(offset);
    QRect rect = box()->cursorRect(cursor);
    if (offset < characterCount()) {
        cursor.setPosition(offset + 1);
        const QRect next = box()->cursorRect(cursor);
        if (next.top() == rect.top())
            rect.setRight(std::max(rect.left(), next.left() - 1));
    }
    return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(local))
        return -1;
    return box()->cursorForPosition(local).position();
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    // The caret is how the box is told what to show: the end first, then the
    // start, so that the start stays in view.
    box()->setTextCursor(span(endIndex, endIndex));
    box()->ensureCursorVisible();
    box()->setTextCursor(span(startIndex, startIndex));
    box()->ensureCursorVisible();
}

QString TextBoxAccessible::attributes(int, int* startOffset, int* endOffset) const {
    // One font and colour for the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) {
    if (!box()->isReadOnly())
        span(startOffset, endOffset).removeSelectedText();
}

// The AT-SPI bridge cuts the text it is sent to the length it is given in
// UTF-16 units, while clients count characters: a pair at the end may come
// in halved, and the half is dropped.
void TextBoxAccessible::insertText(int offset, const QString& text) {
    if (!box()->isReadOnly())
        span(offset, offset).insertText(wholeCharacters(text));
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (!box()->isReadOnly())
        span(startOffset, endOffset).insertText(wholeCharacters(text));
}
