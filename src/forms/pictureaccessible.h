// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class PictureArea;

// A picture area as assistive technology sees it: read-only text whose
// content is the printed lines joined by line feeds, a move to the next print
// zone shown as a tab, named by the label that explains the area.
class PictureAreaAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PictureAreaAccessible(QWidget* widget);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // QAccessibleTextInterface; there is no caret and nothing to select.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    PictureArea* area() const;
    QString printedText() const;
};

// The printed text as it can travel to assistive technology: a zero
// character or a lone surrogate would cut or break the text on its way to a
// screen reader, so each becomes U+FFFD. One character for one, so offsets
// still match the screen.
QString accessibleText(const QString& printed);

// Makes Qt use PictureAreaAccessible for every picture area and
// TextBoxAccessible for every multi-line box, and present
// images as graphics and the windows as windows. Called once, at start-up.
void installAccessibleInterfaces();
