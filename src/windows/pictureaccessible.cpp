// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/pictureaccessible.h"

#include "windows/picturearea.h"
#include "windows/textboxaccessible.h"

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
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isNull() || c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
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

// One printed item where text() has it and where it is drawn.
struct PlacedItem {
    int offset; // of its first character in text()
    QString text;
    QRect box; // in the area's coordinates, one line high
};

// Items in text() order: joined by tabs within a line, lines by line feeds.
template <class Visit> void forEachItem(const PictureArea& area, Visit visit) {
    const QFontMetrics metrics(area.font());
    const QRect surface = area.contentsRect();
    const QList<QStringList>& lines = area.lines().lines();
    int offset = 0;
    for (qsizetype row = 0; row < lines.size(); ++row) {
        const QStringList& items = lines[row];
        const QList<int> positions = area.itemPositions(items);
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QRect box(surface.left() + positions[i], surface.top() + int(row) * area.lineHeight(),
                            metrics.horizontalAdvance(items[i]), area.lineHeight());
            if (!visit(PlacedItem{offset, items[i], box}))
                return;
            offset += int(items[i].size()) + 1; // the tab or line feed after it
        }
    }
}

} // namespace

QRect PictureAreaAccessible::characterRect(int offset) const {
    const PictureArea* pa = area();
    const QFontMetrics metrics(pa->font());
    QRect found;
    forEachItem(*pa, [&](const PlacedItem& item) {
        if (offset < item.offset || offset > item.offset + item.text.size())
            return true;
        const int inItem = offset - item.offset;
        const int x = item.box.left() + metrics.horizontalAdvance(item.text.left(inItem));
        const int width = inItem < item.text.size() ? metrics.horizontalAdvance(item.text.at(inItem)) : 0;
        found = QRect(pa->mapToGlobal(QPoint(x, item.box.top())), QSize(width, item.box.height()));
        return false;
    });
    return found;
}

int PictureAreaAccessible::offsetAtPoint(const QPoint& point) const {
    const PictureArea* pa = area();
    const QFontMetrics metrics(pa->font());
    const QPoint local = pa->mapFromGlobal(point);
    int found = -1;
    forEachItem(*pa, [&](const PlacedItem& item) {
        if (!item.box.contains(local))
            return true;
        int x = item.box.left();
        for (qsizetype i = 0; i < item.text.size(); ++i) {
            x += metrics.horizontalAdvance(item.text.at(i));
            if (local.x() < x) {
                found = item.offset + int(i);
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
