// The form base class in its MDI window, and the grid of the table forms.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "TestSupport.h"
#include "ui/CMSFlexGrid.h"

using namespace testsupport;

// ---------------------------------------------------------------------------------------------
// Forms

TEST(FormBase, CommitThenShowWritesTheRecordAndShowingCommitsNothing)
{
    ProgramDir dir(0, {2, 2, 3, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan});
    s.app.Context().codeplug.ScanTable.record(1)[1] = 77;
    s.app.Navigation().Index(FormKind::Scan) = 1;
    s.frame->OpenForm(FormKind::Scan);
    CForm_TestRecord* form = TestForm(*s.frame, FormKind::Scan);
    ASSERT_NE(form, nullptr);

    // Filling and showing the controls did not write anything back.
    EXPECT_EQ(form->Value()->value(), 77);
    EXPECT_EQ(form->commits, 0);
    EXPECT_EQ(s.app.Context().codeplug.ScanTable.record(1)[1], 77);

    form->Value()->setValue(12);
    EXPECT_EQ(form->commits, 1);
    EXPECT_EQ(s.app.Context().codeplug.ScanTable.record(1)[1], 12);
    EXPECT_EQ(form->shows, 2);
    EXPECT_EQ(s.app.Context().codeplug.ScanTable.record(0)[1], 0);
}

TEST(FormBase, TextsComeFromTheCatalogueAndMissesAreRecorded)
{
    ProgramDir dir(1);
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Dmr});
    s.frame->OpenForm(FormKind::Dmr);
    CForm_TestRecord* form = TestForm(*s.frame, FormKind::Dmr);
    EXPECT_EQ(form->caption, "Radio info");
    EXPECT_TRUE(s.app.Context().text.Misses().empty());
    EXPECT_EQ(form->TextOf(999), "");
    EXPECT_EQ(s.app.Context().text.Misses().count({"Tree", 999}), 1u);

    // A form that names itself; the main window leaves its title alone on reopening.
    form->Rename("DMR basic");
    s.frame->OpenForm(FormKind::Dmr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Dmr)->windowTitle(), "DMR basic");
    EXPECT_EQ(s.frame->FormWindow(FormKind::Dmr)->size(), QSize(750, 500));
    EXPECT_EQ(form->objectName(), "CFORM_DMR");

    // The child window's own keys leave the command keys (Ctrl+W: Write) alone.
    for (QAction* action : s.frame->FormWindow(FormKind::Dmr)->systemMenu()->actions())
        EXPECT_FALSE(action->shortcuts().contains(QKeySequence("Ctrl+W"))) << action->text().toStdString();
}

TEST(FormBase, ClosingTheWindowClearsTheSlotEvenFromInsideTheForm)
{
    ProgramDir dir(0);
    Session s(dir.path);
    int live = 0;
    RegisterTestForms(*s.frame, {FormKind::Key, FormKind::DmrContact}, &live);

    // The user closes the window.
    s.frame->OpenForm(FormKind::Key);
    s.frame->FormWindow(FormKind::Key)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Key), nullptr);
    EXPECT_EQ(live, 0);

    // A form's own button closes it and another form (as the contact form closes the key form).
    s.frame->OpenForm(FormKind::Key);
    s.frame->OpenForm(FormKind::DmrContact);
    CFormBase* contacts = s.frame->Form(FormKind::DmrContact);
    auto* button = new QPushButton(contacts);
    QObject::connect(button, &QPushButton::clicked, contacts, [&s] {
        s.frame->CloseForm(FormKind::Key);
        s.frame->CloseForm(FormKind::DmrContact);
    });
    button->click();
    EXPECT_EQ(s.frame->FormWindow(FormKind::DmrContact), nullptr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Key), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(live, 0);
    s.frame->OpenForm(FormKind::DmrContact);
    EXPECT_EQ(live, 1);
}

// ---------------------------------------------------------------------------------------------
// Grid

namespace {

struct ShownGrid {
    CMSFlexGrid grid;
    explicit ShownGrid(int rows = 65, int cols = 4)
    {
        grid.SetRows(rows);
        grid.SetCols(cols);
        grid.resize(400, 240);
        grid.show();
        QCoreApplication::processEvents();
    }
};

void Wheel(CMSFlexGrid& grid, int delta)
{
    const QPointF at(20, 40);
    QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &event);
}

void Click(CMSFlexGrid& grid, const QPoint& at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QApplication::sendEvent(grid.viewport(), &release);
}

}  // namespace

TEST(Grid, RowZeroIsTheHeaderAndCellsAreAddressedAsTheFormsNumberThem)
{
    CMSFlexGrid grid;
    grid.SetRows(4);
    grid.SetCols(2);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.rowCount(), 3);
    // The current cell starts on row 1, past the row-number column.
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    grid.SetTextMatrix(0, 1, "Text");
    grid.SetTextMatrix(3, 1, "last");
    grid.SetTextMatrix(4, 1, "outside");  // ignored
    grid.SetTextMatrix(1, 2, "outside");  // ignored
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Text");
    EXPECT_EQ(grid.item(2, 1)->text(), "last");
    EXPECT_EQ(grid.TextMatrix(3, 1), "last");
    EXPECT_EQ(grid.TextMatrix(9, 9), "");

    grid.ClearCells();
    EXPECT_EQ(grid.TextMatrix(3, 1), "");
    EXPECT_EQ(grid.TextMatrix(0, 1), "Text");

    // Growing keeps the texts; the row-number column cannot be selected.
    grid.SetTextMatrix(2, 0, "02");
    grid.SetRows(6);
    EXPECT_EQ(grid.TextMatrix(2, 0), "02");
    EXPECT_FALSE(grid.item(4, 0)->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(grid.item(4, 1)->flags() & Qt::ItemIsSelectable);
    grid.SetColAlignment(1, Qt::AlignRight);
    grid.SetRows(8);
    EXPECT_TRUE(grid.item(6, 1)->textAlignment() & Qt::AlignRight);
}

TEST(Grid, WidthsInTwips)
{
    EXPECT_EQ(CMSFlexGrid::TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(CMSFlexGrid::TwipsToPixels(590, 96), 39);
    EXPECT_EQ(CMSFlexGrid::TwipsToPixels(5000, 96), 333);
    EXPECT_EQ(CMSFlexGrid::TwipsToPixels(2000, 192), 267);
    CMSFlexGrid grid;
    grid.SetCols(2);
    grid.SetColWidthTwips(1, 2000);
    EXPECT_EQ(grid.columnWidth(1), CMSFlexGrid::TwipsToPixels(2000, grid.logicalDpiX()));
}

TEST(Grid, ClickReportsTheCellInFormNumbering)
{
    ShownGrid shown;
    CMSFlexGrid& grid = shown.grid;
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(&grid, &CMSFlexGrid::CellClicked, [&](int row, int col) { clicks.emplace_back(row, col); });
    Click(grid, grid.CellRect(3, 2).center());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], (std::pair{3, 2}));
    EXPECT_EQ(grid.MouseRow(), 3);
    EXPECT_EQ(grid.MouseCol(), 2);
    EXPECT_EQ(grid.Row(), 3);
}

TEST(Grid, WheelMovesThreeRowsPerNotchWithinTheRows)
{
    ShownGrid shown;
    CMSFlexGrid& grid = shown.grid;
    ASSERT_EQ(grid.TopRow(), 1);
    Wheel(grid, -120);  // towards the user: further down
    EXPECT_EQ(grid.TopRow(), 4);
    Wheel(grid, -240);
    EXPECT_EQ(grid.TopRow(), 10);
    Wheel(grid, -60);  // half a notch does nothing yet
    EXPECT_EQ(grid.TopRow(), 10);
    Wheel(grid, -60);
    EXPECT_EQ(grid.TopRow(), 13);
    Wheel(grid, 120 * 10);
    EXPECT_EQ(grid.TopRow(), 1);
    for (int i = 0; i < 40; ++i)
        Wheel(grid, -120);
    EXPECT_LE(grid.TopRow(), 64);
    EXPECT_EQ(grid.TopRow(), grid.verticalScrollBar()->maximum() + 1);
}

TEST(Grid, PlacedEditorsSitOnTheCellAndHideOnScroll)
{
    ShownGrid shown;
    CMSFlexGrid& grid = shown.grid;
    QWidget form;
    auto* editor = new QLineEdit(&form);
    grid.PlaceEditor(editor, 2, 1);
    EXPECT_EQ(editor->parentWidget(), grid.viewport());
    EXPECT_EQ(editor->geometry(), grid.CellRect(2, 1));
    EXPECT_TRUE(editor->isVisible());

    int scrolled = 0;
    QObject::connect(&grid, &CMSFlexGrid::Scrolled, [&] { ++scrolled; });
    grid.SetTopRow(5);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(scrolled, 1);

    grid.PlaceEditor(editor, 6, 1);
    EXPECT_TRUE(editor->isVisible());
    Wheel(grid, -120);
    EXPECT_FALSE(editor->isVisible());

    // Rows outside the grid place nothing.
    grid.PlaceEditor(editor, 0, 1);
    grid.PlaceEditor(editor, 65, 1);
    EXPECT_FALSE(editor->isVisible());
}
