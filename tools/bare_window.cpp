// A bare Qt main window of zr740cps's shape, built from Qt alone: 9 menus of 40 commands, a
// toolbar of 11 buttons, a dock with a tree of 32 items, an MDI client area and a status bar with
// three panes. tools/bench-startup times the program's start against this window's. With
// ZR740_EXIT_WHEN_SHOWN set it quits once the window has been painted, as zr740cps does. With
// --zh its labels are Chinese, so that it loads the same fonts as the program in Chinese.
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
    const bool zh = QApplication::arguments().contains(QStringLiteral("--zh"));
    const auto text = [zh](const char* english, const char* chinese) {
        return QString::fromUtf8(zh ? chinese : english);
    };
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));

    // 40 commands in 9 menus, as zr740cps has.
    QMenu* menus[9];
    const char* titles[] = {"&File", "&Edit", "&View", "&Program", "&Set", "&Language", "&Window", "&Tools", "&Help"};
    const char* chineseTitles[] = {"文件(&F)", "编辑(&E)", "查看(&V)", "编程(&P)", "设置(&S)",
                                   "语言(&L)", "窗口(&W)", "工具(&T)", "帮助(&H)"};
    for (int m = 0; m < 9; ++m)
        menus[m] = window.menuBar()->addMenu(text(titles[m], chineseTitles[m]));
    for (int i = 0; i < 40; ++i)
        menus[i % 9]->addAction(text("Command %1", "命令 %1").arg(i + 1));
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

    auto* dock = new QDockWidget(text("Navigation", "导航栏"), &window);
    auto* tree = new QTreeWidget(dock);
    tree->setHeaderHidden(true);
    // 32 items, as the tree of the default codeplug.
    auto* root = new QTreeWidgetItem(tree, {text("Radio", "对讲机")});
    for (int group = 1; group <= 3; ++group) {
        auto* item = new QTreeWidgetItem(root, {text("Group %1", "分组 %1").arg(group)});
        for (int leaf = 1; leaf <= (group == 1 ? 10 : 9); ++leaf)
            new QTreeWidgetItem(item, {text("Item %1", "信道 %1").arg(leaf)});
    }
    root->setExpanded(true);
    dock->setWidget(tree);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
    window.setCentralWidget(new QMdiArea(&window));
    window.statusBar()->showMessage(text("Ready", "就绪"));
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
