// A bare Qt main window of zr740cps's shape, built from Qt alone: 9 menus of 40 commands, a
// toolbar of 11 buttons, a dock with a tree of 32 items, an MDI client area and a status bar with
// three panes. tools/bench-startup times the program's start against this window's. With
// ZR740_EXIT_WHEN_SHOWN set it quits once the window has been painted, as zr740cps does.
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>

#include "app/ExitWhenShown.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));

    // 40 commands in 9 menus, as zr740cps has.
    QMenu* menus[9];
    const char* titles[] = {"&File", "&Edit", "&View", "&Program", "&Set", "&Language", "&Window", "&Tools", "&Help"};
    for (int m = 0; m < 9; ++m)
        menus[m] = window.menuBar()->addMenu(QString::fromLatin1(titles[m]));
    for (int i = 0; i < 40; ++i)
        menus[i % 9]->addAction(QStringLiteral("Command %1").arg(i + 1));
    // 11 buttons in 5 groups, as zr740cps's toolbar.
    QToolBar* tools = window.addToolBar(QStringLiteral("Toolbar"));
    tools->setIconSize(QSize(24, 24));
    const QStyle::StandardPixmap icons[] = {QStyle::SP_FileIcon, QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton,
                                            QStyle::SP_FileDialogDetailedView, QStyle::SP_ArrowBack, QStyle::SP_ArrowForward,
                                            QStyle::SP_ArrowUp, QStyle::SP_ArrowDown, QStyle::SP_FileDialogDetailedView,
                                            QStyle::SP_MessageBoxInformation};
    for (int i = 0; i < 11; ++i) {
        tools->addAction(window.style()->standardIcon(icons[std::min(i, 9)]), QStringLiteral("Button %1").arg(i + 1));
        if (i == 3 || i == 5 || i == 7 || i == 8)
            tools->addSeparator();
    }

    auto* dock = new QDockWidget(QStringLiteral("Navigation"), &window);
    auto* tree = new QTreeWidget(dock);
    tree->setHeaderHidden(true);
    // 32 items, as the tree of the default codeplug.
    auto* root = new QTreeWidgetItem(tree, {QStringLiteral("Radio")});
    for (int group = 1; group <= 3; ++group) {
        auto* item = new QTreeWidgetItem(root, {QStringLiteral("Group %1").arg(group)});
        for (int leaf = 1; leaf <= (group == 1 ? 10 : 9); ++leaf)
            new QTreeWidgetItem(item, {QStringLiteral("Item %1").arg(leaf)});
    }
    root->setExpanded(true);
    dock->setWidget(tree);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
    window.setCentralWidget(new QMdiArea(&window));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(name));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        window.statusBar()->addPermanentWidget(pane);
    }

    window.resize(1024, 700);
    window.show();
    ExitWhenShown(window);
    return QApplication::exec();
}
