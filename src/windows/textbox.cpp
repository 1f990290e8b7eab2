#include "windows/textbox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <limits>

namespace {

// The longest start of text that fits in room characters.
QString fitting(const QString& text, qsizetype room) {
    qsizetype used = 0;
    qsizetype end = 0;
    for (; end < text.size(); ++end) {
        const QChar c = text.at(end);
        used += (c == u'\n' || c == QChar::ParagraphSeparator) ? 2 : 1;
        if (used > room)
            break;
    }
    return text.left(end);
}

QString withCrLf(QString plain) {
    plain.replace(QChar::ParagraphSeparator, u'\n');
    return plain.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

qsizetype textBoxLength(const QString& plainText) {
    return plainText.size() + plainText.count(u'\n') + plainText.count(QChar::ParagraphSeparator);
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &TextBox::recordUserEdit);
}

QString TextBox::text() const {
    return m_text;
}

void TextBox::setText(const QString& text) {
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
    m_text = text;
}

void TextBox::recordUserEdit() {
    if (!m_settingText)
        m_text = withCrLf(toPlainText());
}

qsizetype TextBox::room() const {
    if (m_maxLength <= 0)
        return std::numeric_limits<qsizetype>::max();
    const qsizetype used = textBoxLength(toPlainText()) - textBoxLength(textCursor().selectedText());
    return std::max<qsizetype>(0, m_maxLength - used);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    if (m_maxLength > 0 && !isReadOnly()) {
        const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const QString typed = event->text();
        const bool inserts = newLine || (!typed.isEmpty() && typed.at(0).isPrint());
        if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            const qsizetype needed = newLine ? 2 : typed.size();
            if (needed > room()) {
                event->accept(); // refused, as a full box does
                return;
            }
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (m_maxLength > 0 && !event->commitString().isEmpty()) {
        const qsizetype allowed = room();
        if (textBoxLength(event->commitString()) > allowed) {
            const QString cut = fitting(event->commitString(), allowed);
            QInputMethodEvent shortened(event->preeditString(), event->attributes());
            shortened.setCommitString(cut, event->replacementStart(), event->replacementLength());
            QPlainTextEdit::inputMethodEvent(&shortened);
            return;
        }
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool TextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText() && QPlainTextEdit::canInsertFromMimeData(source);
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText())
        return;
    QString pasted = source->text();
    pasted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pasted.replace(u'\r', u'\n');
    if (m_maxLength > 0)
        pasted = fitting(pasted, room());
    if (!pasted.isEmpty())
        textCursor().insertText(pasted);
    ensureCursorVisible();
}
