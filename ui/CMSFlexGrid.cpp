#include "ui/CMSFlexGrid.h"

#include <algorithm>
#include <cmath>

#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>

CMSFlexGrid::CMSFlexGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);

    connect(this, &QTableWidget::cellClicked, this, [this](int tableRow, int col) {
        mouseRow_ = tableRow + 1;
        mouseCol_ = col;
        emit CellClicked(mouseRow_, mouseCol_);
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        mouseRow_ = 0;
        mouseCol_ = col;
        emit CellClicked(0, col);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CMSFlexGrid::OnScrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CMSFlexGrid::OnScrolled);
}

void CMSFlexGrid::SetRows(int rows)
{
    setRowCount(std::max(rows, 1) - 1);
    FillItems();
}

void CMSFlexGrid::SetCols(int cols)
{
    const int old = columnCount();
    setColumnCount(std::max(cols, 0));
    for (int col = old; col < columnCount(); ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem());
    FillItems();
}

void CMSFlexGrid::SetFixedCols(int cols)
{
    fixedCols_ = std::max(cols, 0);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            StyleItem(EnsureItem(r, c), c);
}

void CMSFlexGrid::FillItems()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            EnsureItem(r, c);
    // Like the grid control, start on the first data cell after the fixed columns.
    if (currentRow() < 0 && rowCount() > 0 && columnCount() > fixedCols_)
        setCurrentCell(0, fixedCols_);
}

QTableWidgetItem* CMSFlexGrid::EnsureItem(int tableRow, int col)
{
    QTableWidgetItem* cell = item(tableRow, col);
    if (cell == nullptr) {
        cell = new QTableWidgetItem();
        StyleItem(cell, col);
        setItem(tableRow, col, cell);
    }
    return cell;
}

void CMSFlexGrid::StyleItem(QTableWidgetItem* cell, int col) const
{
    if (col < fixedCols_) {
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(palette().button());
        cell->setForeground(palette().buttonText());
    } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setData(Qt::BackgroundRole, QVariant());
        cell->setData(Qt::ForegroundRole, QVariant());
    }
    const auto alignment = alignment_.constFind(col);
    cell->setTextAlignment(alignment != alignment_.cend() ? *alignment | Qt::AlignVCenter
                                                          : Qt::AlignLeft | Qt::AlignVCenter);
}

void CMSFlexGrid::SetTextMatrix(int row, int col, const QString& text)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= Rows())
        return;
    if (row == 0) {
        horizontalHeaderItem(col)->setText(text);
        return;
    }
    EnsureItem(row - 1, col)->setText(text);
}

QString CMSFlexGrid::TextMatrix(int row, int col) const
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= Rows())
        return {};
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell != nullptr ? cell->text() : QString();
}

void CMSFlexGrid::ClearCells()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            EnsureItem(r, c)->setText(QString());
}

int CMSFlexGrid::TwipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

void CMSFlexGrid::SetColWidthTwips(int col, int twips)
{
    if (col < 0 || col >= columnCount())
        return;
    setColumnWidth(col, TwipsToPixels(twips, logicalDpiX()));
}

void CMSFlexGrid::SetColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= columnCount())
        return;
    alignment_[col] = alignment;
    for (int r = 0; r < rowCount(); ++r)
        StyleItem(EnsureItem(r, col), col);
}

int CMSFlexGrid::Row() const { return currentRow() < 0 ? 0 : currentRow() + 1; }

int CMSFlexGrid::Col() const { return std::max(currentColumn(), 0); }

void CMSFlexGrid::SetRow(int row)
{
    if (row >= 1 && row < Rows())
        setCurrentCell(row - 1, std::max(currentColumn(), fixedCols_ < columnCount() ? fixedCols_ : 0));
}

QRect CMSFlexGrid::CellRect(int row, int col) const
{
    if (row < 1 || row >= Rows() || col < 0 || col >= columnCount())
        return {};
    return visualRect(model()->index(row - 1, col));
}

void CMSFlexGrid::PlaceEditor(QWidget* editor, int row, int col)
{
    if (editor == nullptr)
        return;
    const QRect rect = CellRect(row, col);
    if (!rect.isValid())
        return;
    if (editor->parentWidget() != viewport())
        editor->setParent(viewport());
    if (!editors_.contains(editor))
        editors_.append(editor);
    editor->setGeometry(rect);
    editor->show();
    editor->raise();
}

void CMSFlexGrid::HideEditors()
{
    editors_.removeAll(nullptr);
    for (const QPointer<QWidget>& editor : editors_)
        editor->hide();
}

int CMSFlexGrid::TopRow() const { return verticalScrollBar()->value() + 1; }

void CMSFlexGrid::SetTopRow(int row)
{
    const int last = std::max(Rows() - 1, 1);
    verticalScrollBar()->setValue(std::clamp(row, 1, last) - 1);
}

void CMSFlexGrid::wheelEvent(QWheelEvent* event)
{
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    event->accept();
    if (notches == 0)
        return;
    HideEditors();
    // A wheel turned towards the user (negative delta) moves further down the list.
    SetTopRow(TopRow() - kWheelRows * notches);
}

void CMSFlexGrid::OnScrolled()
{
    HideEditors();
    emit Scrolled();
}
