// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/handout.h"

#include "common/programname.h"
#include "print/handoutpieces.h"
#include "print/pages.h"
#include "print/printer.h"

#include <QDate>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <memory>

namespace {

// Title, date and the name line above the body.
constexpr qreal HeadMillimetres = 24;
constexpr int Resolution = PageResolution;
// Inside a table cell, around its text.
constexpr qreal CellPadding = 12;

QPen thinPen() {
    return QPen(Qt::black, Resolution / 150.0);
}

void drawHead(QPainter& painter, const QRectF& body, const QString& title, const QString& date,
              const QString& clientName) {
    const QFont titleFont = printFont(14, true);
    const QFont textFont = printFont();
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF textMetrics(textFont, painter.device());
    const qreal top = body.top() - HeadMillimetres / 25.4 * Resolution;
    painter.setPen(thinPen());
    painter.setFont(textFont);
    const qreal dateBaseline = top + titleMetrics.ascent();
    painter.drawText(QPointF(body.right() - textMetrics.horizontalAdvance(date), dateBaseline), date);
    painter.setFont(titleFont);
    const QString shownTitle = titleMetrics.elidedText(
        title, Qt::ElideRight, body.width() - textMetrics.horizontalAdvance(date) - textMetrics.height());
    painter.drawText(QPointF(body.left(), dateBaseline), shownTitle);

    // Room for a name written by hand: half the width, ruled below; or the
    // client's name on that line.
    painter.setFont(textFont);
    const qreal nameBaseline = dateBaseline + titleMetrics.descent() + 2.2 * textMetrics.height();
    const QString label = QStringLiteral("氏名：");
    painter.drawText(QPointF(body.left(), nameBaseline), label);
    if (!clientName.isEmpty()) {
        const qreal nameWidth = body.width() / 2 - textMetrics.horizontalAdvance(label);
        painter.drawText(QPointF(body.left() + textMetrics.horizontalAdvance(label), nameBaseline),
                         textMetrics.elidedText(clientName, Qt::ElideRight, nameWidth));
    }
    const qreal ruleY = nameBaseline + textMetrics.descent();
    painter.drawLine(QPointF(body.left() + textMetrics.horizontalAdvance(label), ruleY),
                     QPointF(body.left() + body.width() / 2, ruleY));
}

// A text set in a width, wrapped between words or, where a word is wider
// than the width (Japanese has no spaces), anywhere.
class SetText {
public:
    SetText(const QString& text, const QFont& font, qreal width, QPaintDevice* device)
        : m_layout(std::make_shared<QTextLayout>(text, font, device)) {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout->setTextOption(option);
        m_layout->beginLayout();
        for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, m_height));
            m_height += line.height();
            m_width = std::max(m_width, line.naturalTextWidth());
        }
        m_layout->endLayout();
    }
    qreal height() const { return m_height; }
    qreal width() const { return m_width; }
    void draw(QPainter& painter, const QPointF& at) const { m_layout->draw(&painter, at); }

private:
    std::shared_ptr<QTextLayout> m_layout;
    qreal m_height = 0;
    qreal m_width = 0;
};

// One table row, set in its columns.
struct SetRow {
    QList<SetText> cells;
    qreal height = 0;
};

// Places the pieces on pages, top to bottom, and paints them once the number
// of pages is known.
class PageComposer {
public:
    PageComposer(QPagedPaintDevice& writer, const PageFrame& frame) : m_writer(writer), m_frame(frame) {
        m_y = frame.body.top();
        m_pages.emplace_back();
    }

    int pages() const { return int(m_pages.size()); }

    void add(const Handout::Line& line) {
        const SetText text(line.text, printFont(10.5, line.bold), m_frame.body.width(), &m_writer);
        gap();
        place(text.height(), [text, x = m_frame.body.left()](QPainter& painter, qreal y) {
            painter.setPen(Qt::black);
            text.draw(painter, QPointF(x, y));
        });
    }

    void add(const Handout::Figures& figures) {
        // Each column as wide as its widest figure, values flush right.
        QList<qreal> widths;
        QList<QList<SetText>> rows;
        for (const QStringList& row : figures.rows) {
            QList<SetText> set;
            for (qsizetype i = 0; i < row.size(); ++i) {
                const QFont font = figures.points > 0 ? printFont(figures.points) : printFont();
                set.append(SetText(row[i], font, m_frame.body.width(), &m_writer));
                if (widths.size() <= i)
                    widths.append(0);
                widths[i] = std::max(widths[i], set.last().width() + 2 * CellPadding);
            }
            rows.append(set);
        }
        gap();
        for (const QList<SetText>& row : rows) {
            qreal height = 0;
            for (const SetText& cell : row)
                height = std::max(height, cell.height());
            place(height, [row, widths, x = m_frame.body.left()](QPainter& painter, qreal y) {
                painter.setPen(Qt::black);
                qreal left = x;
                for (qsizetype i = 0; i < row.size(); ++i) {
                    const qreal inset = i == 1 ? widths[i] - CellPadding - row[i].width() : CellPadding;
                    row[i].draw(painter, QPointF(left + inset, y));
                    left += widths[i];
                }
            });
        }
    }

    void add(const Handout::Table& table) {
        QList<qreal> widths;
        for (const Handout::Column& column : table.columns)
            widths.append(m_frame.body.width() * column.percent / 100.0);
        QStringList headings;
        for (const Handout::Column& column : table.columns)
            headings.append(column.heading);
        const SetRow heading = setRow(headings, widths, true);
        gap();
        bool headed = false;
        for (const QStringList& row : table.rows) {
            const SetRow set = setRow(row, widths, false);
            // A row goes whole on a page, under the table's heading.
            if (m_y + set.height + (headed ? 0 : heading.height) > m_frame.body.bottom() && !pageIsEmpty()) {
                newPage();
                headed = false;
            }
            if (!headed) {
                placeRow(heading, table.columns, widths, true);
                headed = true;
            }
            placeRow(set, table.columns, widths, false);
        }
        if (!headed)
            placeRow(heading, table.columns, widths, true);
    }

    void add(const Handout::Picture& picture) {
        const auto [image, size] = pictureOnPage(picture, Resolution);
        const auto draw = [image, size](qreal x) {
            return [image, size, x](QPainter& painter, qreal y) {
                painter.drawImage(QRectF(QPointF(x, y), size), image);
            };
        };
        if (picture.beside && !pageIsEmpty() && m_pieceTop + size.height() <= m_frame.body.bottom()) {
            m_pages.back().emplace_back(m_pieceTop, draw(m_frame.body.right() - size.width()));
            m_y = std::max(m_y, m_pieceTop + size.height());
            return;
        }
        gap();
        place(size.height(), draw(m_frame.body.left()));
    }

    void add(const Handout::Scale& scale) {
        gap();
        place(scaleHeight(m_writer),
              [scale, x = m_frame.body.left(), width = m_frame.body.width()](QPainter& painter, qreal y) {
                  paintScale(painter, QPointF(x, y), width, scale);
              });
    }

    void add(const Handout::Drawing& drawing) {
        gap();
        const qreal height = drawing.millimetres / 25.4 * Resolution;
        place(height, [drawing, height, x = m_frame.body.left(),
                       width = m_frame.body.width()](QPainter& painter, qreal y) {
            painter.save();
            drawing.paint(painter, QRectF(x, y, width, height));
            painter.restore();
        });
    }

    // Paints every page, with the head and the foot; stops once cancelled.
    void paint(const QString& title, const QString& date, const QString& clientName, WorkProgress* progress) {
        if (progress)
            progress->setTotal(pages());
        QPainter painter(&m_writer);
        // Pictures here are line drawings: JPEG would smear their edges.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        for (int page = 0; page < pages(); ++page) {
            if (progress && progress->isCancelled())
                return;
            if (page > 0)
                m_writer.newPage();
            drawHead(painter, m_frame.body, title, date, clientName);
            for (const auto& [y, draw] : m_pages[size_t(page)])
                draw(painter, y);
            m_frame.drawFoot(painter, ProgramName.toString(), page + 1, pages());
            if (progress)
                progress->setDone(page + 1);
        }
    }

private:
    using Draw = std::function<void(QPainter&, qreal)>;

    SetRow setRow(const QStringList& cells, const QList<qreal>& widths, bool bold) const {
        SetRow row;
        for (qsizetype i = 0; i < widths.size(); ++i) {
            row.cells.append(
                SetText(cells.value(i), printFont(10.5, bold), widths[i] - 2 * CellPadding, &m_writer));
            row.height = std::max(row.height, row.cells.last().height() + 2 * CellPadding);
        }
        return row;
    }

    void placeRow(const SetRow& row, const QList<Handout::Column>& columns, const QList<qreal>& widths,
                  bool heading) {
        QList<bool> right;
        for (const Handout::Column& column : columns)
            right.append(column.number && !heading);
        place(row.height, [row, right, widths, heading, x = m_frame.body.left()](QPainter& painter, qreal y) {
            qreal left = x;
            painter.setPen(thinPen());
            for (qsizetype i = 0; i < row.cells.size(); ++i) {
                const QRectF cell(left, y, widths[i], row.height);
                painter.drawRect(cell);
                const SetText& text = row.cells[i];
                qreal inset = CellPadding;
                if (heading)
                    inset = (widths[i] - text.width()) / 2;
                else if (right[i])
                    inset = widths[i] - CellPadding - text.width();
                text.draw(painter, QPointF(left + inset, y + CellPadding));
                left += widths[i];
            }
        });
    }

    // Room between pieces, as between paragraphs; none at the top of a page.
    // Starts the next piece.
    void gap() {
        if (!pageIsEmpty())
            m_y += QFontMetricsF(printFont(), &m_writer).height() * 0.6;
        m_pieceTop = m_y;
    }

    void place(qreal height, Draw draw) {
        if (m_y + height > m_frame.body.bottom() && !pageIsEmpty())
            newPage();
        m_pages.back().emplace_back(m_y, std::move(draw));
        m_y += height;
    }

    bool pageIsEmpty() const { return m_pages.back().empty(); }

    void newPage() {
        m_pages.emplace_back();
        m_y = m_frame.body.top();
        m_pieceTop = m_y;
    }

    QPagedPaintDevice& m_writer;
    const PageFrame& m_frame;
    qreal m_y = 0;
    // Where the piece being placed starts on the last page.
    qreal m_pieceTop = 0;
    std::vector<std::vector<std::pair<qreal, Draw>>> m_pages;
};

} // namespace

void Handout::addTable(const QList<Column>& columns, const QList<QStringList>& rows) {
    pieces.append(Table{columns, rows});
}

void Handout::addLine(const QString& text, bool bold) {
    pieces.append(Line{text, bold});
}

void Handout::addFigures(const QList<QStringList>& rows, qreal points) {
    pieces.append(Figures{rows, points});
}

void Handout::addImage(const QImage& image, qreal leastMillimetres, bool beside) {
    pieces.append(Picture{image, leastMillimetres, beside});
}

void Handout::addScale(const Scale& scale) {
    pieces.append(scale);
}

void Handout::addDrawing(qreal millimetres, Paint paint) {
    pieces.append(Drawing{millimetres, std::move(paint)});
}

QString japaneseDate(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString proposedPdfName(const QString& windowName, const QDate& date) {
    return QStringLiteral("%1_%2.pdf").arg(windowName, date.toString(Qt::ISODate));
}

QString handoutTitle(const Handout& handout, const QDate& date) {
    return QStringLiteral("%1 %2").arg(handout.title, japaneseDate(date));
}

int writeHandoutPdf(const Handout& handout, const QDate& date, QIODevice& device, WorkProgress* progress) {
    int pages = 0;
    writePagesPdf(handoutTitle(handout, date), device,
                  [&](QPagedPaintDevice& writer) { pages = paintHandout(handout, date, writer, progress); });
    return pages;
}

int paintHandout(const Handout& handout, const QDate& date, QPagedPaintDevice& writer,
                 WorkProgress* progress) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    const PageFrame frame(writer, HeadMillimetres);
    PageComposer composer(writer, frame);
    for (const Handout::Piece& piece : handout.pieces)
        std::visit([&composer](const auto& p) { composer.add(p); }, piece);
    composer.paint(handout.title, japaneseDate(date), handout.clientName, progress);
    return composer.pages();
}

void printHandout(const Handout& handout, const QDate& date, TextPrinter& printer, WorkProgress& progress) {
    printer.printPages(
        handoutTitle(handout, date),
        [&](QPagedPaintDevice& pages, WorkProgress& watched) {
            paintHandout(handout, date, pages, &watched);
        },
        progress);
}
