#pragma once
// The grid of the table forms (contacts, receive group lists, messages, zones, scan lists,
// monitor channels, one-touch entries).
//
// Rows are numbered as the forms number them: row 0 is the header row (shown as the column
// header), rows 1 … Rows() - 1 are the data rows. Columns 0 … Cols() - 1; the first FixedCols()
// columns (the row numbers) look like the header and cannot be selected. Cells are read-only:
// a form edits a cell by placing one of its own editors over it (PlaceEditor). Any scroll hides
// the placed editors; a mouse-wheel notch moves the top row by 3 rows.
#include <QHash>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QTableWidget>

class CMSFlexGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kWheelRows = 3;

    explicit CMSFlexGrid(QWidget* parent = nullptr);

    // Row count including the header row (at least 1).
    void SetRows(int rows);
    int Rows() const { return rowCount() + 1; }
    void SetCols(int cols);
    int Cols() const { return columnCount(); }
    void SetFixedCols(int cols);
    int FixedCols() const { return fixedCols_; }

    void SetTextMatrix(int row, int col, const QString& text);
    QString TextMatrix(int row, int col) const;
    // Empties every data cell; header texts stay.
    void ClearCells();

    // Widths in twips (1/1440 inch), converted with the screen's logical resolution.
    void SetColWidthTwips(int col, int twips);
    static int TwipsToPixels(int twips, double dotsPerInch);
    void SetColAlignment(int col, Qt::Alignment alignment);

    // The cell of the last mouse click (row 0 for the header), -1 before any.
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }
    // The current (selected) cell; row 0 when none.
    int Row() const;
    int Col() const;
    void SetRow(int row);

    // A data cell's rectangle in the coordinates of the grid's viewport, where editors live.
    QRect CellRect(int row, int col) const;
    // Makes `editor` a child of the viewport, lays it over the cell and shows it.
    void PlaceEditor(QWidget* editor, int row, int col);
    void HideEditors();

    // The first data row shown at the top (1-based), and scrolling to one.
    int TopRow() const;
    void SetTopRow(int row);

signals:
    void CellClicked(int row, int col);
    // The visible part moved (scroll bar, wheel, keyboard); editors are already hidden.
    void Scrolled();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    QTableWidgetItem* EnsureItem(int row, int col);
    void StyleItem(QTableWidgetItem* item, int col) const;
    void FillItems();
    void OnScrolled();

    int fixedCols_ = 1;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    int wheelRemainder_ = 0;
    QHash<int, Qt::Alignment> alignment_;  // by column
    QList<QPointer<QWidget>> editors_;
};
