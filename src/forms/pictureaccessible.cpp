// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/pictureaccessible.h"

#include "common/characters.h"

#include "forms/picturearea.h"
#include "forms/textboxaccessible.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

QAccessibleInterface* pictureAreaFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("PictureArea"))
        return new PictureAreaAccessible(widget);
    if (className == QLatin1String("TextBox"))
        return new TextBoxAccessible(widget);
    // A picture, also while its figure is still empty; a plain label would
    // pass for text.
    if (className == QLatin1String("ImageControl"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    // The program's windows are plain widgets; Qt would present them as a
    // filler inside the application, and screen readers look for a frame.
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    QAccessible::installFactory(pictureAreaFactory);
}

// Read-only text rather than a static label: picture areas take the focus,
// and a screen reader then lets the user walk through the lines.
PictureAreaAccessible::PictureAreaAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::EditableText) {}

PictureArea* PictureAreaAccessible::area() const {
    return static_cast<PictureArea*>(widget());
}

QString accessibleText(const QString& printed) {
    QString text = printed;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = characterLength(text, i);
        if (units == 1 && (text.at(i).isNull() || text.at(i).isSurrogate()))
            text[i] = QChar::ReplacementCharacter;
        i += units;
    }
    return text;
}

QString PictureAreaAccessible::printedText() const {
    return accessibleText(area()->lines().text());
}

void* PictureAreaAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State PictureAreaAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.editable = false;
    return s;
}

QString PictureAreaAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return printedText();
    return QAccessibleWidget::text(kind);
}

void PictureAreaAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString PictureAreaAccessible::text(int startOffset, int endOffset) const {
    const QString all = printedText();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int PictureAreaAccessible::characterCount() const {
    return int(printedText().size());
}

namespace {

// One drawn piece of a printed line where text() has it and where it is drawn.
struct PlacedPiece {
    int offset; // of its first character in text()
    const PictureArea::Piece& piece;
    QRect box; // in the area's coordinates, one line high
};

// Pieces in text() order, lines joined by line feeds.
template <class Visit> void forEachPiece(const PictureArea& area, Visit visit) {
    const QFontMetricsF metrics(area.font());
    const QRect surface = area.contentsRect();
    int lineOffset = 0;
    for (int row = 0; row < area.lines().lineCount(); ++row) {
        const QList<PictureArea::Piece> pieces = area.drawnLine(row);
        for (const PictureArea::Piece& piece : pieces) {
            const QRect box(QPoint(surface.left() + qRound(piece.x), surface.top() + row * area.lineHeight()),
                            QSize(qRound(piece.width(metrics)), area.lineHeight()));
            if (!visit(PlacedPiece{lineOffset + int(piece.start), piece, box}))
                return;
        }
        lineOffset += int(area.lines().lineText(row).size()) + 1;
    }
}

// Where character `inPiece` of a piece is drawn, from the piece's left edge:
// its start and its width. The characters cut behind "…" share its place.
std::pair<qreal, qreal> placeInPiece(const QFontMetricsF& metrics, const PictureArea::Piece& piece,
                                     qsizetype inPiece) {
    if (piece.cut)
        return {0, piece.width(metrics)};
    const qreal x = piece.scale * metrics.horizontalAdvance(piece.shown.left(inPiece));
    const qreal width =
        inPiece < piece.shown.size() ? piece.scale * metrics.horizontalAdvance(piece.shown.at(inPiece)) : 0;
    return {x, width};
}

} // namespace

QRect PictureAreaAccessible::characterRect(int offset) const {
    const PictureArea* pa = area();
    const QFontMetricsF metrics(pa->font());
    QRect found;
    forEachPiece(*pa, [&](const PlacedPiece& placed) {
        const qsizetype inPiece = offset - placed.offset;
        if (inPiece < 0)
            return false; // passed it
        if (inPiece > placed.piece.length)
            return true;
        // The place just past a piece is the next piece's first character,
        // unless a tab or line feed stands there.
        const auto [x, width] = placeInPiece(metrics, placed.piece, inPiece);
        found = QRect(pa->mapToGlobal(QPoint(placed.box.left() + qRound(x), placed.box.top())),
                      QSize(qRound(width), placed.box.height()));
        return inPiece == placed.piece.length;
    });
    return found;
}

int PictureAreaAccessible::offsetAtPoint(const QPoint& point) const {
    const PictureArea* pa = area();
    const QFontMetricsF metrics(pa->font());
    const QPoint local = pa->mapFromGlobal(point);
    int found = -1;
    forEachPiece(*pa, [&](const PlacedPiece& placed) {
        if (!placed.box.contains(local))
            return true;
        if (placed.piece.cut) {
            found = placed.offset;
            return false;
        }
        for (qsizetype i = 0; i < placed.piece.shown.size(); ++i) {
            const auto [x, width] = placeInPiece(metrics, placed.piece, i);
            if (local.x() < placed.box.left() + x + width) {
                found = placed.offset + int(i);
                break;
            }
        }
        return false;
    });
    return found;
}

QString PictureAreaAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return QString();
}
