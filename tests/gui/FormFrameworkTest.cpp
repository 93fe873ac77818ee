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

TEST(FormBase, CommitThenShowWritesTheRecordAndShowingCommitsNothing)
{
    ProgramDir dir(0, {2, 2, 3, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan});
    auto& scans = s.app.Context().codeplug.ScanTable;
    scans.record(1)[1] = 77;
    s.app.Navigation().Index(FormKind::Scan) = 1;
    s.frame->OpenForm(FormKind::Scan);
    CForm_TestRecord* form = TestForm(*s.frame, FormKind::Scan);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Value()->value(), 77);
    EXPECT_EQ(form->commits, 0);  // filling the controls wrote nothing back
    EXPECT_EQ(scans.record(1)[1], 77);

    form->Value()->setValue(12);
    EXPECT_EQ(form->commits, 1);
    EXPECT_EQ(form->shows, 2);
    EXPECT_EQ(scans.record(1)[1], 12);
    EXPECT_EQ(scans.record(0)[1], 0);
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

    form->Rename("DMR basic");  // a form that names itself keeps its title on reopening
    s.frame->OpenForm(FormKind::Dmr);
    EXPECT_EQ(s.frame->FormWindow(FormKind::Dmr)->windowTitle(), "DMR basic");
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

namespace {

struct ShownGrid : CMSFlexGrid {
    ShownGrid()
    {
        SetRows(65);
        SetCols(4);
        resize(400, 240);
        show();
        QCoreApplication::processEvents();
    }
    void Wheel(int delta)
    {
        const QPointF at(20, 40);
        QWheelEvent event(at, viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport(), &event);
    }
};

}  // namespace

TEST(Grid, RowZeroIsTheHeaderAndCellsAreAddressedAsTheFormsNumberThem)
{
    CMSFlexGrid grid;
    grid.SetRows(4);
    grid.SetCols(2);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.Row(), 1);  // past the header and the row-number column
    EXPECT_EQ(grid.Col(), 1);
    grid.SetTextMatrix(0, 1, "Text");
    grid.SetTextMatrix(3, 1, "last");
    grid.SetTextMatrix(1, 2, "outside");  // ignored
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Text");
    EXPECT_EQ(grid.item(2, 1)->text(), "last");
    grid.ClearCells();
    EXPECT_EQ(grid.TextMatrix(3, 1), "");
    EXPECT_EQ(grid.TextMatrix(0, 1), "Text");
}

TEST(Grid, WidthsInTwips)
{
    const std::tuple<int, int, int> rows[] = {{1440, 96, 96}, {590, 96, 39}, {5000, 96, 333}, {2000, 192, 267}};
    for (const auto& [twips, dpi, pixels] : rows)
        EXPECT_EQ(CMSFlexGrid::TwipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
    CMSFlexGrid grid;
    grid.SetCols(2);
    grid.SetColWidthTwips(1, 2000);
    EXPECT_EQ(grid.columnWidth(1), CMSFlexGrid::TwipsToPixels(2000, grid.logicalDpiX()));
}

TEST(Grid, ClickReportsTheCellInFormNumbering)
{
    ShownGrid grid;
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(&grid, &CMSFlexGrid::CellClicked, [&](int row, int col) { clicks.emplace_back(row, col); });
    const QPoint at = grid.CellRect(3, 2).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QApplication::sendEvent(grid.viewport(), &release);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{3, 2}}));
    EXPECT_EQ(grid.MouseRow(), 3);
    EXPECT_EQ(grid.MouseCol(), 2);
    EXPECT_EQ(grid.Row(), 3);
}

TEST(Grid, WheelMovesThreeRowsPerNotchWithinTheRows)
{
    ShownGrid grid;
    ASSERT_EQ(grid.TopRow(), 1);
    // Towards the user (negative) is further down; half notches add up.
    const std::pair<int, int> steps[] = {{-120, 4}, {-240, 10}, {-60, 10}, {-60, 13}, {1200, 1}};
    for (const auto& [delta, top] : steps) {
        grid.Wheel(delta);
        EXPECT_EQ(grid.TopRow(), top) << delta;
    }
    for (int i = 0; i < 40; ++i)
        grid.Wheel(-120);
    EXPECT_LE(grid.TopRow(), 64);
    EXPECT_EQ(grid.TopRow(), grid.verticalScrollBar()->maximum() + 1);
}

TEST(Grid, PlacedEditorsSitOnTheCellAndHideOnScroll)
{
    ShownGrid grid;
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
    grid.Wheel(-120);
    EXPECT_FALSE(editor->isVisible());

    // Rows outside the grid place nothing.
    grid.PlaceEditor(editor, 0, 1);
    grid.PlaceEditor(editor, 65, 1);
    EXPECT_FALSE(editor->isVisible());
}
