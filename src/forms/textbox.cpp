// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/textbox.h"

#include "common/characters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QThread>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

// The longest start of text that fits in room characters. A surrogate pair
// counts two and goes in whole or not at all.
QString fitting(const QString& text, qsizetype room) {
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const QChar c = text.at(end);
        const qsizetype units = characterLength(text, end);
        used += (c == u'\n' || c == QChar::ParagraphSeparator) ? 2 : units;
        if (used > room)
            break;
        end += units;
    }
    return text.left(end);
}

// Moves a cut that would fall inside a surrogate pair to before the pair.
qsizetype wholeCharacterStart(const QString& text, qsizetype at) {
    return at > 0 && characterLength(text, at - 1) == 2 ? at - 1 : at;
}

QString withCrLf(QString plain) {
    plain.replace(QChar::ParagraphSeparator, u'\n');
    return plain.replace(u'\n', QStringLiteral("\r\n"));
}

// Every change to a limited one-line box passes here before it shows.
class WholeCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString kept = wholeCharacters(input.left(pos));
        input = kept + wholeCharacters(input.mid(pos));
        pos = int(kept.size());
        return Acceptable;
    }
};

} // namespace

QString wholeCharacters(QString text) {
    for (qsizetype i = 0; i < text.size();) {
        if (const qsizetype units = characterLength(text, i); units == 1 && text.at(i).isSurrogate())
            text.remove(i, 1);
        else
            i += units;
    }
    return text;
}

void setWholeCharacterMaxLength(QLineEdit* edit, int length) {
    // Before the length, which cuts the text already there.
    if (!edit->validator())
        edit->setValidator(new WholeCharacters(edit));
    edit->setMaxLength(length);
}

qsizetype textBoxLength(const QString& plainText) {
    return plainText.size() + plainText.count(u'\n') + plainText.count(QChar::ParagraphSeparator);
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &TextBox::takeChange);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TextBox::keepTextInView);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &TextBox::keepTextInView);
}

void TextBox::keepTextInView() {
    QScrollBar* bar = verticalScrollBar();
    if (bar->value() == 0 || verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        return;
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.lineCount());
    const int room = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    if (lines <= room)
        bar->setValue(0);
}

QString TextBox::text() const {
    // Built when read, not on every change: a long document costs one copy
    // per read instead of one per keystroke.
    if (m_textStale) {
        m_text = withCrLf(toPlainText());
        m_textStale = false;
    }
    return m_text;
}

void TextBox::setText(const QString& text) {
    m_settingText = true;
    m_wasCut = false;
    setPlainText(text);
    m_settingText = false;
    m_text = m_wasCut ? withCrLf(toPlainText()) : text;
    m_textStale = false;
}

TextBoxStyle TextBox::style() const {
    const QTextDocument* doc = document();
    return {doc->defaultFont(), doc->defaultTextOption(), doc->documentMargin()};
}

std::unique_ptr<QTextDocument> TextBox::prepareDocument(const QString& text, const TextBoxStyle& style,
                                                        QThread* target) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentLayout(new QPlainTextDocumentLayout(doc.get()));
    doc->setDefaultFont(style.font);
    doc->setDefaultTextOption(style.option);
    doc->setDocumentMargin(style.margin);
    doc->setPlainText(text);
    // The box makes every block a layout when it takes the document; made
    // here, the GUI thread only clears them.
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        block.layout();
    doc->moveToThread(target);
    return doc;
}

void TextBox::setPreparedText(std::unique_ptr<QTextDocument> prepared, const QString& text) {
    // Only setText knows how to cut a text to the limit.
    if (m_maxLength > 0 || !prepared) {
        setText(text);
        return;
    }
    QPointer<QTextDocument> old = document();
    m_settingText = true;
    // The old document goes before the box lays out every line of the new
    // one, so the two are never laid out at once. The empty one in between
    // is the control's own, which Qt frees at the next swap.
    setDocument(nullptr);
    if (old)
        delete old.data();
    QTextDocument* doc = prepared.release();
    doc->setParent(this);
    setDocument(doc);
    m_settingText = false;
    m_text = text;
    m_textStale = false;
}

void TextBox::takeChange() {
    if (m_cutting)
        return;
    // Only a limited box needs the text as it stood, to cut what came in.
    if (m_maxLength > 0) {
        if (textBoxLength(toPlainText()) > m_maxLength) {
            cutToLimit();
            m_wasCut = true;
        }
        m_plain = toPlainText();
    }
    if (!m_settingText)
        m_textStale = true;
}

// Text that reached the document past the limit by a way the event handlers
// do not see (assistive technology, setPlainText, a cursor of the program's):
// what came in is cut short, as a paste would be.
void TextBox::cutToLimit() {
    const QString now = toPlainText();
    const QString& before = m_plain;
    const qsizetype shorter = std::min(before.size(), now.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == now.at(head))
        ++head;
    // Pairs that share a high surrogate must not be split by what matched.
    head = std::min(wholeCharacterStart(now, head), wholeCharacterStart(before, head));
    qsizetype tail = 0;
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == now.at(now.size() - 1 - tail))
        ++tail;
    while (tail > 0 && (wholeCharacterStart(now, now.size() - tail) != now.size() - tail ||
                        wholeCharacterStart(before, before.size() - tail) != before.size() - tail))
        --tail;
    const QString added = now.mid(head, now.size() - head - tail);
    const qsizetype removed = before.size() - head - tail;
    const qsizetype around = textBoxLength(now) - textBoxLength(added);
    const QString fits = fitting(added, std::max<qsizetype>(0, m_maxLength - around));

    QTextDocument* doc = document();
    m_cutting = true;
    // Cutting alone would leave the whole change on the undo stack, and undo
    // would bring back what was cut, only to be cut again. So the change is
    // taken back and what fits goes in as one step in its place.
    bool replaced = false;
    if (doc->isUndoAvailable()) {
        doc->undo();
        if (toPlainText() == before) {
            QTextCursor in(doc);
            in.setPosition(int(head));
            in.setPosition(int(head + removed), QTextCursor::KeepAnchor);
            in.insertText(fits);
            replaced = true;
        } else {
            doc->redo(); // the last step was something else
        }
    }
    if (!replaced) {
        // With nothing to undo (a new text set in whole) the cut need not be
        // undoable either.
        const bool history = doc->isUndoAvailable() || doc->isRedoAvailable();
        if (!history)
            doc->setUndoRedoEnabled(false);
        QTextCursor cut(doc);
        cut.setPosition(int(head + fits.size()));
        cut.setPosition(int(head + added.size()), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        if (!history)
            doc->setUndoRedoEnabled(true);
    }
    m_cutting = false;
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
