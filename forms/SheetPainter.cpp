#include "forms/SheetPainter.h"

#include <algorithm>

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr double kCellPoints = 8.0;
constexpr double kTitlePoints = 10.5;
constexpr double kPaddingMm = 1.0;
constexpr double kTableGapMm = 5.0;
constexpr double kMarginMm = 15.0;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Lays the sheet out page by page and, on the second run, paints it: the first run only counts
// the pages, so that every header can say "Page n of N".
class SheetFlow {
public:
    SheetFlow(QPagedPaintDevice& device, QPainter& painter, const ChannelSheet& sheet)
        : device_(device), painter_(painter), sheet_(sheet)
    {
        const double dpi = device.logicalDpiY();
        mm_ = dpi / 25.4;
        width_ = device.width();
        height_ = device.height();
        cell_.setPointSizeF(kCellPoints);
        bold_ = cell_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(kTitlePoints);
    }

    int Run(bool paint, int pages)
    {
        paint_ = paint;
        pages_ = pages;
        page_ = 0;
        NewPage();
        if (!sheet_.facts.empty())
            Facts();
        for (const SheetTable& table : sheet_.tables)
            Table(table);
        return page_;
    }

private:
    double Height(const QFont& font, const QString& text, double width) const
    {
        const QFontMetricsF metrics(font, &device_);
        return metrics.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e6), Qt::TextWordWrap, text).height();
    }

    void Text(const QFont& font, const QRectF& box, const QString& text, int flags = Qt::TextWordWrap)
    {
        if (!paint_)
            return;
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        painter_.drawText(box, flags, text);
    }

    void NewPage()
    {
        if (page_ > 0 && paint_)
            device_.newPage();
        ++page_;
        y_ = 0;
        const QString numbers = Q(sheet_.pageNumbers).arg(page_).arg(pages_);
        QString left = Q(sheet_.title);
        if (!sheet_.facts.empty() && !sheet_.facts.front().second.empty())
            left += QStringLiteral(" — ") + Q(sheet_.facts.front().second);
        const double numbersWidth = QFontMetricsF(bold_, &device_).horizontalAdvance(numbers) + 2 * mm_;
        const double h = std::max(Height(title_, left, width_ - numbersWidth), Height(bold_, numbers, numbersWidth));
        Text(title_, QRectF(0, 0, width_ - numbersWidth, h), left, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignBottom);
        Text(bold_, QRectF(width_ - numbersWidth, 0, numbersWidth, h), numbers, Qt::AlignRight | Qt::AlignBottom);
        y_ = h + mm_;
        if (paint_) {
            painter_.setPen(QPen(Qt::black, 0.3 * mm_));
            painter_.drawLine(QPointF(0, y_), QPointF(width_, y_));
        }
        y_ += 3 * mm_;
        headerBottom_ = y_;
    }

    void Facts()
    {
        QString line;
        for (const auto& [label, value] : sheet_.facts)
            line += (line.isEmpty() ? QString() : QStringLiteral("        ")) + Q(label) + QStringLiteral(": ") + Q(value);
        const double h = Height(cell_, line, width_);
        Text(cell_, QRectF(0, y_, width_, h), line);
        y_ += h + kTableGapMm * mm_;
    }

    std::vector<double> ColumnWidths(const SheetTable& table) const
    {
        int total = 0;
        for (const SheetColumn& column : table.columns)
            total += std::max(column.weight, 1);
        std::vector<double> widths;
        for (const SheetColumn& column : table.columns)
            widths.push_back(width_ * std::max(column.weight, 1) / std::max(total, 1));
        return widths;
    }

    double RowHeight(const QFont& font, const std::vector<QString>& cells, const std::vector<double>& widths) const
    {
        double h = 0;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c)
            h = std::max(h, Height(font, cells[c], widths[c] - 2 * kPaddingMm * mm_));
        return h + 2 * kPaddingMm * mm_;
    }

    void Row(const QFont& font, const std::vector<QString>& cells, const std::vector<double>& widths, double h,
             bool header)
    {
        if (paint_) {
            double x = 0;
            painter_.setPen(QPen(QColor(150, 150, 150), 0.15 * mm_));
            for (std::size_t c = 0; c < widths.size(); ++c) {
                const QRectF box(x, y_, widths[c], h);
                painter_.setBrush(header ? QColor(225, 228, 232) : QColor(Qt::white));
                painter_.drawRect(box);
                if (c < cells.size()) {
                    Text(font, box.adjusted(kPaddingMm * mm_, kPaddingMm * mm_, -kPaddingMm * mm_, -kPaddingMm * mm_),
                         cells[c], Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop);
                    painter_.setPen(QPen(QColor(150, 150, 150), 0.15 * mm_));
                }
                x += widths[c];
            }
        }
        y_ += h;
    }

    // The table's title (marked as continued on later pages) and its column headers.
    void TableHead(const SheetTable& table, const std::vector<double>& widths, bool continued, double titleHeight,
                   double headerHeight)
    {
        QString title = Q(table.title);
        if (continued)
            title += QStringLiteral(" ") + Q(sheet_.continued);
        Text(title_, QRectF(0, y_, width_, titleHeight), title);
        y_ += titleHeight + mm_;
        std::vector<QString> headers;
        for (const SheetColumn& column : table.columns)
            headers.push_back(Q(column.header));
        Row(bold_, headers, widths, headerHeight, true);
    }

    void Table(const SheetTable& table)
    {
        const std::vector<double> widths = ColumnWidths(table);
        std::vector<QString> headers;
        for (const SheetColumn& column : table.columns)
            headers.push_back(Q(column.header));
        const double titleHeight = Height(title_, Q(table.title) + " " + Q(sheet_.continued), width_);
        const double headerHeight = RowHeight(bold_, headers, widths);
        const auto cellsOf = [](const std::vector<std::string>& row) {
            std::vector<QString> cells;
            for (const std::string& text : row)
                cells.push_back(Q(text));
            return cells;
        };
        // A table starts on a new page when not even its head and first row fit.
        const double first = table.rows.empty() ? 0 : RowHeight(cell_, cellsOf(table.rows.front()), widths);
        if (!PageIsFresh() && y_ + titleHeight + mm_ + headerHeight + first > height_)
            NewPage();
        TableHead(table, widths, false, titleHeight, headerHeight);
        for (const auto& row : table.rows) {
            const std::vector<QString> cells = cellsOf(row);
            const double h = RowHeight(cell_, cells, widths);
            if (y_ + h > height_) {
                NewPage();
                TableHead(table, widths, true, titleHeight, headerHeight);
            }
            Row(cell_, cells, widths, h, false);
        }
        y_ += kTableGapMm * mm_;
    }

    // Nothing but the page header yet: a new page would not give more room.
    bool PageIsFresh() const { return y_ <= headerBottom_; }

    QPagedPaintDevice& device_;
    QPainter& painter_;
    const ChannelSheet& sheet_;
    QFont cell_, bold_, title_;
    double mm_ = 1, width_ = 0, height_ = 0, y_ = 0, headerBottom_ = 0;
    bool paint_ = false;
    int page_ = 0, pages_ = 0;
};

}  // namespace

int PaintChannelSheet(QPagedPaintDevice& device, const ChannelSheet& sheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    SheetFlow flow(device, painter, sheet);
    const int pages = flow.Run(false, 0);
    flow.Run(true, pages);
    painter.end();
    return pages;
}

QByteArray ChannelSheetPdf(const ChannelSheet& sheet, QPageSize::PageSizeId size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(QString::fromStdString(sheet.title));
        writer.setCreator(QStringLiteral("zr740cps"));
        writer.setPageLayout(QPageLayout(QPageSize(size), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        PaintChannelSheet(writer, sheet);
    }
    return bytes;
}

QPageSize::PageSizeId LocalPaperSize()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}
