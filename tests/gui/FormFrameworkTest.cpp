// The form base class in its MDI window, and the grid of the table forms.

#include "TestSupport.h"

using namespace testsupport;

// A form commits what the user changes to its record and showing a record commits nothing; its
// window's keys leave the commands' alone; closing from a form's own button clears the slots of
// that form and of another one.
TEST(FormBase, CommitThenShowAndClosingFromInsideTheForm)
{
    ProgramDir dir(0, {2, 2, 3, 2});
    Session s(dir.path);
    RegisterTestForms(*s.frame, {FormKind::Scan, FormKind::Key, FormKind::DmrContact});
    auto& scans = s.app.Context().codeplug.ScanTable;
    scans.record(1)[1] = 77;
    s.app.Navigation().Index(FormKind::Scan) = 1;
    s.frame->Windows().OpenForm(FormKind::Scan);
    CForm_TestRecord* form = TestForm(*s.frame, FormKind::Scan);
    ASSERT_NE(form, nullptr);
    // Filling the controls wrote nothing back.
    EXPECT_EQ(std::tuple(form->Value()->value(), form->commits, scans.record(1)[1] + 0), std::tuple(77, 0, 77));
    form->Value()->setValue(12);
    EXPECT_EQ(std::tuple(form->commits, form->shows, scans.record(1)[1] + 0, scans.record(0)[1] + 0), std::tuple(1, 2, 12, 0));
    // The child window's own keys leave the command keys (Ctrl+W: Write) alone.
    for (QAction* action : s.frame->Windows().FormWindow(FormKind::Scan)->systemMenu()->actions())
        EXPECT_FALSE(action->shortcuts().contains(QKeySequence("Ctrl+W"))) << action->text().toStdString();

    s.frame->Windows().OpenForm(FormKind::Key);
    s.frame->Windows().OpenForm(FormKind::DmrContact);
    CFormBase* contacts = s.frame->Windows().Form(FormKind::DmrContact);
    auto* button = new QPushButton(contacts);
    QObject::connect(button, &QPushButton::clicked, contacts, [&s] {
        s.frame->Windows().CloseForm(FormKind::Key);
        s.frame->Windows().CloseForm(FormKind::DmrContact);
    });
    button->click();
    EXPECT_TRUE(s.frame->Windows().FormWindow(FormKind::DmrContact) == nullptr && s.frame->Windows().FormWindow(FormKind::Key) == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int closed = CForm_TestRecord::alive;
    s.frame->Windows().OpenForm(FormKind::DmrContact);
    EXPECT_EQ(std::tuple(closed, CForm_TestRecord::alive), std::tuple(1, 2));  // the scan form stays
}

// Widths in twips become pixels, rounded; a click chooses its cell; an editor placed on a cell
// covers it until the grid scrolls; the wheel scrolls three rows a notch.
TEST(Grid, TwipsClickWheelAndPlacedEditors)
{
    EXPECT_EQ((std::vector{CMSFlexGrid::TwipsToPixels(1440, 96), CMSFlexGrid::TwipsToPixels(590, 96),
                           CMSFlexGrid::TwipsToPixels(2000, 120)}),
              (std::vector{96, 39, 167}));
    CMSFlexGrid grid;
    grid.SetRows(65);
    grid.SetCols(4);
    grid.resize(400, 240);
    grid.show();
    QCoreApplication::processEvents();
    const auto wheel = [&grid](int delta) {
        const QPointF at(20, 40);
        QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(&grid, &CMSFlexGrid::CellClicked, [&](int row, int col) { clicks.emplace_back(row, col); });
    const QPoint at = grid.CellRect(3, 2).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QApplication::sendEvent(grid.viewport(), &release);
    EXPECT_EQ(std::tuple(clicks, grid.Row()), std::tuple(std::vector<std::pair<int, int>>{{3, 2}}, 3));

    QWidget form;
    auto* editor = new QLineEdit(&form);
    grid.PlaceEditor(editor, 2, 1);
    EXPECT_EQ(std::tuple(editor->parentWidget(), editor->geometry(), editor->isVisible()),
              std::tuple(grid.viewport(), grid.CellRect(2, 1), true));
    int scrolled = 0;
    QObject::connect(&grid, &CMSFlexGrid::Scrolled, [&] { ++scrolled; });
    ASSERT_EQ(grid.TopRow(), 1);
    wheel(-120);
    EXPECT_TRUE(!editor->isVisible() && scrolled == 1);
    grid.PlaceEditor(editor, 0, 1);  // the header row places nothing
    EXPECT_FALSE(editor->isVisible());

    // Towards the user (negative) is further down; half notches add up.
    const std::pair<int, int> steps[] = {{-60, 4}, {-60, 7}, {1200, 1}};
    for (const auto& [delta, top] : steps) {
        wheel(delta);
        EXPECT_EQ(grid.TopRow(), top) << delta;
    }
    for (int i = 0; i < 40; ++i)
        wheel(-120);
    EXPECT_EQ(grid.TopRow(), grid.verticalScrollBar()->maximum() + 1);
}
