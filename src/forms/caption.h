// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPushButton>

class QPainter;

// Captions of labels and command buttons are laid out as the designer saw
// them: broken into lines where they do not fit the control's width (between
// words, or between two characters of Japanese text, after hiragana where
// that keeps a kanji or katakana word whole), and with the
// full-width space two thirds of an em wide, as in the designed proportional
// fonts; the IPA faces give it a whole em, which pushes the column numbers of
// 摂取 and the unit of 消費 out of their labels. What does not fit is cut off.
void drawCaption(QPainter& painter, const QRect& rect, const QFont& font, const QString& text,
                 Qt::Alignment alignment, const QColor& colour);

// The lines a caption is broken into at that width.
QStringList captionLines(const QFont& font, const QString& text, qreal width);

// A label: opaque, beneath the other controls, its caption drawn as above.
class LabelControl : public QLabel {
    Q_OBJECT
public:
    explicit LabelControl(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A command button whose caption is drawn as above, centred. Return and the
// keypad's Enter press it when it has the focus, as Space does, the habit of
// the desktops its users come from.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
