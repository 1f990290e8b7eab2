// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QTextOption>

#include <memory>

// What a box's document takes from the box: read on the GUI thread, used to
// prepare a document anywhere.
struct TextBoxStyle {
    QFont font;
    QTextOption option;
    qreal margin = 0;
};

// A multi-line text box. Enter starts a new line and Tab moves on to the next
// control, as in the single-line boxes.
//
// Its text, as handlers read and write it, keeps the line ends it was given:
// text() returns exactly what setText() stored until the user edits the box,
// and after an edit every line break reads as CR LF. toPlainText() stays Qt's
// own view, with LF between lines, so both round-trip: setText(text()) and
// setPlainText(toPlainText()) leave the box unchanged.
//
// A maximum length counts characters as text() has them, a line break being
// the two characters CR LF, and holds for every way text arrives: typing,
// pasting, dropping, input methods, assistive technology and setText(). What
// would pass the limit is refused or cut short.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    TextBoxStyle style() const;
    // The slow part of setText for a long text, for a worker thread: the
    // document for `text`, handed over to `target`'s thread.
    static std::unique_ptr<QTextDocument> prepareDocument(const QString& text, const TextBoxStyle& style,
                                                          QThread* target);
    // Shows a prepared document, as setText(text) would; the old one is freed.
    void setPreparedText(std::unique_ptr<QTextDocument> document, const QString& text);

    // 0: no limit.
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) {
        m_maxLength = length;
        m_plain = toPlainText();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // A box without a vertical scroll bar cannot be scrolled back by the
    // user, and Qt leaves it scrolled a line down once the caret has been on
    // a second line, even when the text is one line again: the box would
    // look empty. So whenever every line fits, the first stands at the top.
    void keepTextInView();
    // Characters that can still go in at the cursor, replacing its selection.
    qsizetype room() const;
    // Every change to the document comes through here.
    void takeChange();
    void cutToLimit();

    mutable QString m_text;
    mutable bool m_textStale = false; // m_text is to be built from the document
    QString m_plain;                  // a limited box's toPlainText() after the last change taken
    bool m_settingText = false;
    bool m_wasCut = false;
    bool m_cutting = false;
    int m_maxLength = 0;
};

// Length of a text as a text box counts it: a line break is CR LF.
qsizetype textBoxLength(const QString& plainText);

class QLineEdit;

// The text without any half of a surrogate pair standing alone.
QString wholeCharacters(QString text);

// Gives a single-line box a maximum length that never keeps half a
// character: the box cuts at the limit by UTF-16 unit, and whatever half of
// a surrogate pair that leaves, by typing, pasting, setText() or assistive
// technology, goes too.
void setWholeCharacterMaxLength(QLineEdit* edit, int length);
