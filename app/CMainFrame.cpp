#include "app/CMainFrame.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "app/CAboutDlg.h"
#include "app/CVanticApp.h"
#include "app/CommandTable.h"
#include "app/DocumentCommands.h"
#include "app/FormWindows.h"
#include "app/HelpWindow.h"
#include "app/Navigation.h"
#include "app/TransferCommands.h"
#include "forms/FormBase.h"
#include "ui/Artwork.h"
#include "ui/QtText.h"

namespace {

constexpr int kPubCaption = 10;
constexpr int kPubLanguageNextStart = 40;

// Keys of section "Menu" used outside the menu table.
constexpr int kMenuPrint = 27;
constexpr int kMenuNavigationCaption = 62;  // the navigation bar's own caption

}  // namespace

CClientWnd::CClientWnd(QWidget* parent) : QMdiArea(parent)
{
    setBackground(QBrush(ClientBackgroundTile()));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

CMainFrame::CMainFrame(CVanticApp& app, std::unique_ptr<IUserPrompts> prompts, QWidget* parent)
    : QMainWindow(parent), app_(app), prompts_(std::move(prompts))
{
    if (!prompts_)
        prompts_ = std::make_unique<CDialogPrompts>();
    app_.SetMainFrame(this);
    AppContext& context = app_.Context();
    englishMenus_ = UsesEnglishMenus(context.language);

    setWindowIcon(ProgramIcon());
    setObjectName("CMainFrame");
    setAcceptDrops(true);

    CreateStatusBar();
    CreateToolBar();
    client_ = new CClientWnd(this);
    setCentralWidget(client_);
    setDockNestingEnabled(true);
    CreateNavigationBar();
    windows_ = std::make_unique<FormWindows>(*client_, app_.Forms(), *prompts_);
    documents_ = new DocumentCommands(*this, context);
    transfers_ = new TransferCommands(*this, app_);
    connect(windows_.get(), &FormWindows::treeRebuildRequested, this, &CMainFrame::RebuildTree);
    connect(windows_.get(), &FormWindows::formEdited, documents_,
            [this](const CFormBase* form) { documents_->NoteChange(form); });

    // A language file that cannot be read leaves every text blank: say so, naming the file.
    if (const std::string problem = context.StartupProblem(); !problem.empty())
        prompts_->ShowMessage(this, QStringLiteral("ZR-740"), QString::fromStdString(problem), QMessageBox::Critical);

    documents_->Start();
    app_.Navigation().expansion.Clear();
    RebuildTree();
    InstallMenuBar();
    UpdateViewChecks();
}

CMainFrame::~CMainFrame()
{
    // Hiding the docked parts while the window goes must not reach this object any more.
    disconnect(navigationBar_, nullptr, this, nullptr);
    // The forms go while the window they live in is whole.
    windows_.reset();
    if (app_.MainFrame() == this)
        app_.SetMainFrame(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Window parts

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->showMessage(englishMenus_ ? QStringLiteral("Ready") : QStringLiteral("就绪"));
    // Qt cannot read the lock-key states on every platform, so the panes are shown greyed, as
    // an indicator looks while its lock is off.
    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(name), bar);
        pane->setObjectName(QStringLiteral("indicator%1").arg(name));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 14);
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::CreateToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("StandardToolBar");
    toolBar_->setWindowTitle(englishMenus_ ? QStringLiteral("Toolbar") : QStringLiteral("工具栏"));
    toolBar_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateNavigationBar()
{
    navigationBar_ = new QDockWidget(QText(app_.Context().text, "Menu", kMenuNavigationCaption), this);
    navigationBar_->setObjectName("NavigationBar");
    navigationBar_->setAllowedAreas(Qt::AllDockWidgetAreas);
    navigationBar_->setMinimumWidth(120);

    tree_ = new QTreeWidget(navigationBar_);
    tree_->setObjectName("NavigationTree");
    tree_->setProperty("controlId", kTreeControlId);
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setExpandsOnDoubleClick(true);
    tree_->setUniformRowHeights(true);
    tree_->resize(200, 360);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ClickTreeItem(item); });
    // Enter on an item opens it as a click does.
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ClickTreeItem(item); });

    navigationBar_->setWidget(tree_);
    addDockWidget(Qt::LeftDockWidgetArea, navigationBar_);
    resizeDocks({navigationBar_}, {200}, Qt::Horizontal);
    connect(navigationBar_, &QDockWidget::visibilityChanged, this, [this] { UpdateViewChecks(); });
}

QAction* CMainFrame::MakeCommandAction(int command, const QString& label, const char* shortcut)
{
    auto* action = new QAction(label, this);
    action->setData(command);
    if (shortcut != nullptr) {
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(shortcut)));
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    actions_[command] = action;
    return action;
}

QString CMainFrame::MenuText(int key) const
{
    return QString::fromStdString(app_.Context().text.GetTextAt("Menu", MenuKeyBase(englishMenus_), key));
}

void CMainFrame::InstallMenuBar()
{
    auto* bar = new QMenuBar(this);
    std::map<int, QMenu*> popups;
    std::map<std::pair<int, int>, QMenu*> subPopups;
    for (const MenuItemDef& item : MenuBarFor(englishMenus_)) {
        QMenu*& popup = popups[item.popup];
        if (popup == nullptr)
            popup = bar->addMenu(MenuText(item.popup));
        QMenu* menu = popup;
        if (item.subPopup != 0) {
            QMenu*& sub = subPopups[{item.popup, item.subPopup}];
            if (sub == nullptr)
                sub = popup->addMenu(MenuText(item.subPopup));
            menu = sub;
        }
        if (item.label == 0)
            menu->addSeparator();
        else if (item.command == Cmd::RecentFiles)
            documents_->SetRecentMenu(menu->addMenu(MenuText(item.label)));
        else
            menu->addAction(MakeCommandAction(item.command, MenuText(item.label), item.shortcut));
    }
    for (const MenuItemDef& item : ShortcutOnlyCommands())
        addAction(MakeCommandAction(item.command, QString(), item.shortcut));

    for (int command : {Cmd::ViewToolbar, Cmd::ViewStatusBar, Cmd::ViewNavigation})
        if (QAction* action = CommandAction(command))
            action->setCheckable(true);

    // The language for the next start, checked as Sys.dat holds it now.
    auto* languages = new QActionGroup(this);
    const std::uint8_t stored = app_.Context().settings.language();
    for (auto [command, value] : {std::pair{Cmd::LanguageChinese, 0}, std::pair{Cmd::LanguageEnglish, 1}}) {
        if (QAction* action = CommandAction(command)) {
            action->setCheckable(true);
            action->setChecked(stored == value);
            languages->addAction(action);
        }
    }
    setMenuBar(bar);

    // The toolbar shares the menu's actions.
    const auto style = QApplication::style();
    const auto tool = [&](int command, const QIcon& icon) {
        QAction* action = CommandAction(command);
        action->setIcon(icon);
        toolBar_->addAction(action);
    };
    // The two Print buttons of the toolbar both print the channel sheet.
    const auto print = [&] {
        QAction* action = toolBar_->addAction(DrawToolIcon(ToolIcon::Print), MenuText(kMenuPrint));
        action->setToolTip(action->text().remove('&'));
        action->setData(Cmd::FilePrint);
        connect(action, &QAction::triggered, this, [this] { OnCommand(Cmd::FilePrint); });
    };
    tool(Cmd::FileNew, style->standardIcon(QStyle::SP_FileIcon));
    tool(Cmd::FileOpen, style->standardIcon(QStyle::SP_DialogOpenButton));
    tool(Cmd::FileSave, style->standardIcon(QStyle::SP_DialogSaveButton));
    print();
    toolBar_->addSeparator();
    tool(Cmd::EditUndo, DrawToolIcon(ToolIcon::Undo));
    tool(Cmd::EditRedo, DrawToolIcon(ToolIcon::Redo));
    toolBar_->addSeparator();
    tool(Cmd::Read, DrawToolIcon(ToolIcon::ReadRadio));
    tool(Cmd::Write, DrawToolIcon(ToolIcon::WriteRadio));
    toolBar_->addSeparator();
    print();
    toolBar_->addSeparator();
    tool(Cmd::About, style->standardIcon(QStyle::SP_MessageBoxInformation));
    documents_->UpdateEditActions();

    QList<QKeySequence> keys;
    for (const auto& [command, action] : actions_)
        keys += action->shortcuts();
    windows_->KeepCommandKeys(keys);
}

QAction* CMainFrame::CommandAction(int command) const
{
    const auto found = actions_.find(command);
    return found != actions_.end() ? found->second : nullptr;
}

void CMainFrame::UpdateViewChecks()
{
    if (QAction* action = CommandAction(Cmd::ViewToolbar))
        action->setChecked(!toolBar_->isHidden());
    if (QAction* action = CommandAction(Cmd::ViewStatusBar))
        action->setChecked(!statusBar()->isHidden());
    if (QAction* action = CommandAction(Cmd::ViewNavigation))
        action->setChecked(!navigationBar_->isHidden());
}

void CMainFrame::ShowFitted(const QRect& available)
{
    // The window manager's frame and title are not known before the window is shown: leave
    // room for a usual one.
    const QSize decoration(16, 48);
    const QSize room = available.size() - decoration;
    const QSize fitted = kPreferredSize.boundedTo(room);
    resize(fitted);
    move(available.topLeft() + QPoint(std::max(0, (room.width() - fitted.width()) / 2),
                                      std::max(0, (room.height() - fitted.height()) / 2)));
    if (fitted == kPreferredSize)
        show();
    else
        showMaximized();
}

// ---------------------------------------------------------------------------------------------
// Navigation tree

void CMainFrame::AddTreeItems(QTreeWidgetItem* parent, const NavNode& node)
{
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setText(0, QString::fromStdString(node.label));
    item->setData(0, kNumberRole, node.number);
    item->setData(0, kTextKeyRole, node.textKey);
    for (const NavNode& child : node.children)
        AddTreeItems(item, child);
    item->setExpanded(node.expanded);
}

void CMainFrame::RebuildTree()
{
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    AppContext& context = app_.Context();
    const NavNode root = BuildNavigationTree(context.codeplug, context.text, app_.Navigation().expansion);
    AddTreeItems(nullptr, root);
    tree_->setUpdatesEnabled(true);
}

void CMainFrame::ClickTreeItem(QTreeWidgetItem* item)
{
    tree_->setFocus();
    if (item == nullptr)
        return;
    const std::string label = item->text(0).toStdString();
    const std::string parentLabel = item->parent() != nullptr ? item->parent()->text(0).toStdString() : std::string();
    const auto number = static_cast<std::uint32_t>(item->data(0, kNumberRole).toUInt());
    const TreeClick click = HandleTreeClick(app_.Navigation(), app_.Context().text, parentLabel, label, number);
    switch (click.action) {
    case TreeClick::Action::None: break;
    case TreeClick::Action::RadioInfo: transfers_->OnRadioInfo(); break;
    case TreeClick::Action::OpenForm: windows_->OpenForm(click.form); break;
    }
}

// ---------------------------------------------------------------------------------------------
// Commands

void CMainFrame::OnCommand(int command)
{
    if (const auto kind = FormForCommand(command))
        return windows_->OpenForm(*kind);
    DocumentCommands& file = *documents_;
    TransferCommands& radio = *transfers_;
    switch (command) {
    case Cmd::FileNew: file.OnFileNew(); break;
    case Cmd::FileOpen: file.OnFileOpen(); break;
    case Cmd::FileSave: file.OnFileSave(); break;
    case Cmd::FileSaveAs: file.OnFileSaveAs(); break;
    case Cmd::FileImport: file.OnFileImport(); break;
    case Cmd::FileExport: file.OnFileExport(); break;
    case Cmd::FileExportPdf: file.OnFileExportPdf(); break;
    case Cmd::FilePrint: file.OnFilePrint(); break;
    case Cmd::FileExit: close(); break;
    case Cmd::FileClose: windows_->CloseActiveForm(); break;
    case Cmd::EditUndo: file.OnEditUndo(); break;
    case Cmd::EditRedo: file.OnEditRedo(); break;
    case Cmd::RadioInfo: radio.OnRadioInfo(); break;
    case Cmd::SetPort: radio.OnSetPort(); break;
    case Cmd::PasswordSet: radio.OnPasswordSet(); break;
    case Cmd::AdjustValue: radio.OnAdjustValue(); break;
    case Cmd::Read: radio.OnRead(); break;
    case Cmd::Write: radio.OnWrite(); break;
    case Cmd::ViewToolbar: OnViewToolbar(); break;
    case Cmd::ViewStatusBar: OnViewStatusBar(); break;
    case Cmd::ViewNavigation: OnViewNavigation(); break;
    case Cmd::WindowTile: windows_->Tile(); break;
    case Cmd::WindowArrange: windows_->ArrangeIcons(); break;
    case Cmd::About: OnAppAbout(); break;
    case Cmd::Help: OnHelp(); break;
    case Cmd::LanguageChinese: OnSetLanguage(0); break;
    case Cmd::LanguageEnglish: OnSetLanguage(1); break;
    default: break;  // Cmd::Nothing
    }
}

void CMainFrame::OnViewToolbar()
{
    toolBar_->setVisible(toolBar_->isHidden());
    UpdateViewChecks();
}

void CMainFrame::OnViewStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
    UpdateViewChecks();
}

void CMainFrame::OnViewNavigation()
{
    if (navigationBar_->isHidden()) {
        navigationBar_->setFloating(false);
        addDockWidget(Qt::LeftDockWidgetArea, navigationBar_);
        navigationBar_->show();
    } else {
        navigationBar_->hide();
    }
    UpdateViewChecks();
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg about(app_.Context().language == UiLanguage::Chinese, this);
    about.exec();
}

void CMainFrame::OnHelp()
{
    const AppContext& context = app_.Context();
    const QString help = QString::fromStdString(context.HelpPath().string());
    if (QFileInfo::exists(help)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(help));
        return;
    }
    // Without the help file the manual is shown in a window of ours; with neither, nothing
    // happens (a missing help file is not reported).
    const bool chinese = context.language == UiLanguage::Chinese;
    const std::filesystem::path manual = CHelpWindow::ManualPath(context.DataDirectory(), chinese);
    if (manual.empty())
        return;
    if (!helpWindow_)
        helpWindow_ = new CHelpWindow(manual, chinese, this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void CMainFrame::OnSetLanguage(std::uint8_t language)
{
    // The language of this run stays as it is; Sys.dat carries the choice to the next start.
    AppContext& context = app_.Context();
    if (context.settings.language() == language)
        return;
    context.settings.bytes[SystemSettings::Language] = language;
    context.SaveSettings();
    ShowMessage(QText(context.text, "Pub", kPubLanguageNextStart), QMessageBox::Information);
}

void CMainFrame::ShowMessage(const QString& text, int icon)
{
    prompts_->ShowMessage(this, Caption(), text, static_cast<QMessageBox::Icon>(icon));
}

QString CMainFrame::Caption() const { return QText(app_.Context().text, "Pub", kPubCaption); }

// ---------------------------------------------------------------------------------------------
// Closing and focus

std::optional<std::filesystem::path> CMainFrame::DroppedCodeplugFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return std::nullopt;
    const QString file = data->urls().first().toLocalFile();
    if (!file.endsWith(QStringLiteral(".VNTX"), Qt::CaseInsensitive))
        return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedCodeplugFile(event->mimeData()))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const auto file = DroppedCodeplugFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    documents_->OpenCodeplugFile(*file);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!documents_->ConfirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Forms may have changed the counts: the tree is rebuilt whenever the window gets the focus.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        RebuildTree();
        documents_->UpdateTitle();
    }
}
