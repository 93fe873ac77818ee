#include "app/CMainFrame.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>

#include "ui/Artwork.h"
#include "core/Backups.h"
#include "app/CAboutDlg.h"
#include "app/CDialog_CheckFindings.h"
#include "app/CDialog_Exchange.h"
#include "app/CDialog_ImportProblems.h"
#include "app/CDialog_ImportPreview.h"
#include "app/CVanticApp.h"
#include "app/CommandTable.h"
#include "app/FileCommands.h"
#include "app/HelpWindow.h"
#include "app/MdiArrange.h"
#include "app/Navigation.h"
#include "ui/QtText.h"
#include "app/UserPrompts.h"
#include "forms/CodeplugCheck.h"
#include "link/CDIALOG_PassWord.h"
#include "link/CDialog_ADJ.h"
#include "link/CDialog_RadioInfo.h"
#include "link/CDialog_SetComPort.h"
#include "forms/FormBase.h"
#include "forms/SheetPainter.h"

namespace {

constexpr int kPubCaption = 10;
constexpr int kPubClosePrompt = 11;
constexpr int kPubFileFilter = 12;
constexpr int kPubLanguageNextStart = 40;
constexpr int kPubSaveChanges = 50;  // before New, Open, Read and a dropped file
constexpr int kPubReadTitle = 51;    // %1 the radio's serial number
constexpr int kPubOpened = 52;       // %1 the file
constexpr int kPubSaved = 53;        // %1 the file
constexpr int kPubReadDone = 54;     // %1 the serial number, %2 the port
constexpr int kPubBackup = 55;       // %1 the backup file
constexpr int kPubWritten = 56;      // %1 the port
constexpr int kRwWrongFile = 9;

// File › Export and Import texts.
constexpr const char* kExchange = "TextExchange";
constexpr int kExported = 30;        // %1 the file
constexpr int kExportFailed = 31;    // then the file and the reason
constexpr int kImported = 40;        // %1 the file
constexpr int kUnreadable = 41;      // then the file and the reason
constexpr int kEmptyFile = 42;
constexpr int kBinaryFile = 43;
constexpr int kNotUtf8 = 44;
constexpr int kNotJson = 45;         // then where the parser stopped
constexpr int kTooLarge = 46;
constexpr int kNothingChanged = 47;

// Channel sheet texts.
constexpr int kSheetFilter = 7;
constexpr int kSheetWritten = 8;   // %1 the file
constexpr int kSheetFailed = 9;    // then the file and the reason

// Keys of section "Menu" used outside the menu table.
constexpr int kMenuPrint = 27;
constexpr int kMenuUndo = 29, kMenuRedo = 30;
constexpr int kMenuNavigationCaption = 62;  // the navigation bar's own caption

// Qt reads "[*]" in a window title as the modified marker; a literal one is written twice.
QString WindowTitleText(const std::string& title)
{
    return QString::fromStdString(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

std::filesystem::path ToPath(const QString& text) { return std::filesystem::path(text.toStdString()); }

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

    setWindowTitle(WindowTitleText(MainTitleFor(context.language)));
    setWindowIcon(ProgramIcon());
    setObjectName("CMainFrame");
    setAcceptDrops(true);

    CreateStatusBar();
    CreateToolBar();
    client_ = new CClientWnd(this);
    setCentralWidget(client_);
    setDockNestingEnabled(true);
    CreateNavigationBar();

    // A language file that cannot be read leaves every text blank: say so, naming the file.
    if (const std::string problem = context.StartupProblem(); !problem.empty())
        prompts_->ShowMessage(this, QStringLiteral("ZR-740"), QString::fromStdString(problem), QMessageBox::Critical);

    CloseAllForms();
    LoadFile(context.DefaultCodeplugPath());
    MarkUnmodified();
    // The default file is current even when it could not be read.
    context.currentFilePath = context.DefaultCodeplugPath();
    app_.Navigation().expansion.Clear();
    RebuildTree();
    history_.Reset(CaptureDocument(context));
    recentFiles_.Load(context.programDirectory / kRecentFilesName);
    InstallMenuBar();
    UpdateViewChecks();
}

CMainFrame::~CMainFrame()
{
    // Hiding the docked parts while the window goes must not reach this object any more.
    disconnect(navigationBar_, nullptr, this, nullptr);
    // Forms ask the application for the main window while they go.
    for (auto& window : windows_)
        delete window.data();
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
            recentMenu_ = menu->addMenu(MenuText(item.label));
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
    UpdateEditActions();
    UpdateRecentMenu();
}

void CMainFrame::UpdateEditActions()
{
    const TextCatalogue& text = app_.Context().text;
    const auto update = [&](int command, const ChangeName* name, int plainKey, int namedKey) {
        QAction* action = CommandAction(command);
        if (action == nullptr)
            return;
        action->setEnabled(name != nullptr);
        action->setText(name != nullptr ? MenuText(namedKey).arg(QString::fromStdString(ChangeText(*name, text)))
                                        : MenuText(plainKey));
        action->setToolTip(action->text().remove('&'));
    };
    update(Cmd::EditUndo, history_.UndoName(), kMenuUndo, MenuKey::UndoNamed);
    update(Cmd::EditRedo, history_.RedoName(), kMenuRedo, MenuKey::RedoNamed);
}

void CMainFrame::UpdateRecentMenu()
{
    if (recentMenu_ == nullptr)
        return;
    recentMenu_->clear();
    const auto& paths = recentFiles_.Paths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString path = QString::fromStdString(paths[i].string());
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        // A file that is gone stays in the list, shown disabled, until it is opened or saved again.
        action->setEnabled(QFileInfo::exists(path));
        connect(action, &QAction::triggered, this, [this, file = paths[i]] { OpenCodeplugFile(file); });
    }
    if (paths.empty())
        recentMenu_->addAction(MenuText(MenuKey::NoRecentFiles))->setEnabled(false);
}

void CMainFrame::RememberFile(const std::filesystem::path& path)
{
    recentFiles_.Add(path);
    recentFiles_.Save(app_.Context().programDirectory / kRecentFilesName);
    UpdateRecentMenu();
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
    case TreeClick::Action::RadioInfo: OnRadioInfo(); break;
    case TreeClick::Action::OpenForm: OpenForm(click.form); break;
    }
}

// ---------------------------------------------------------------------------------------------
// Forms

void CMainFrame::SetFormFactory(FormKind kind, FormFactory factory)
{
    factories_[static_cast<std::size_t>(kind)] = std::move(factory);
}

CFormBase* CMainFrame::Form(FormKind kind) const { return FormIn(FormWindow(kind)); }

CFormBase* CMainFrame::FormIn(const QMdiSubWindow* window)
{
    if (window == nullptr)
        return nullptr;
    if (const auto* scroller = qobject_cast<const QScrollArea*>(window->widget()))
        return qobject_cast<CFormBase*>(scroller->widget());
    return qobject_cast<CFormBase*>(window->widget());
}

QSize CMainFrame::FittedFormSize(QSize specified, QSize available)
{
    if (available.isEmpty())
        return specified;
    return specified.boundedTo(available);
}

QMdiSubWindow* CMainFrame::FormWindow(FormKind kind) const { return windows_[static_cast<std::size_t>(kind)]; }

void CMainFrame::ApplyFormTitle(FormKind kind, QMdiSubWindow* window)
{
    if (const auto title = app_.Navigation().WindowTitleFor(kind)) {
        const QString text = QString::fromStdString(*title);
        window->setWindowTitle(text);
        if (CFormBase* form = FormIn(window))
            form->setWindowTitle(text);
    }
}

void CMainFrame::KeepCommandKeys(QMdiSubWindow* window) const
{
    // The child window's system menu closes it with Ctrl+W on this platform, which is the Write
    // command's key; a key claimed twice would do nothing at all.
    QList<QKeySequence> ours;
    for (const auto& [command, action] : actions_)
        ours += action->shortcuts();
    if (QMenu* menu = window->systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            keys.removeIf([&](const QKeySequence& key) { return ours.contains(key); });
            action->setShortcuts(keys);
        }
    }
}

void CMainFrame::OpenForm(FormKind kind)
{
    const FormInfo& info = FormInfoOf(kind);
    QPointer<QMdiSubWindow>& slot = windows_[static_cast<std::size_t>(kind)];
    if (slot) {
        ApplyFormTitle(kind, slot);
        if (slot->isMinimized())
            slot->showNormal();
        client_->setActiveSubWindow(slot);
        slot->show();
        if (info.reinitOnReopen)
            if (CFormBase* form = Form(kind))
                form->OnInitialUpdate();
        return;
    }

    const FormFactory& factory = factories_[static_cast<std::size_t>(kind)];
    if (!factory)
        return;  // this form is not part of the program yet
    CFormBase* form = factory(app_.Forms());
    if (form == nullptr)
        return;
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The form fills its window and scrolls when the window is smaller than the form needs.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("FormScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(form);
    window->setWidget(scroller);
    ConnectFormRequests(*form);
    window->setWindowIcon(ProgramIcon());
    KeepCommandKeys(window);
    client_->addSubWindow(window);
    slot = window;
    ApplyFormTitle(kind, window);
    // The specified size where the client area holds it; on a smaller screen the window takes
    // what there is and the form scrolls inside it.
    const QSize available = client_->isVisible() ? client_->viewport()->size() : QSize();
    window->resize(FittedFormSize(QSize(info.width, info.height), available));
    window->move(0, 0);
    window->show();
    client_->setActiveSubWindow(window);
    form->OnInitialUpdate();
}

void CMainFrame::ConnectFormRequests(CFormBase& form)
{
    connect(&form, &CFormBase::messageRequested, this, [this, &form](const QString& caption, const QString& text) {
        prompts_->ShowMessage(&form, caption, text, QMessageBox::Warning);
    });
    connect(&form, &CFormBase::treeRebuildRequested, this, &CMainFrame::RebuildTree);
    connect(&form, &CFormBase::formCloseRequested, this, &CMainFrame::CloseForm);
    connect(&form, &CFormBase::zoneAndScanRefreshRequested, this, &CMainFrame::RefreshZoneAndScanForms);
    connect(&form, &CFormBase::codeplugEdited, this, [this, &form] { NoteChange(&form); });
}

void CMainFrame::NoteChange(const CFormBase* by, std::optional<ChangeName> name)
{
    if (following_)
        return;
    AppContext& context = app_.Context();
    const DocumentState now = CaptureDocument(context);
    if (now == history_.Current())
        return;
    history_.Record(now, name ? *name : NameChange(history_.Current(), now));
    FollowCodeplug(by);
    // Forms shown afresh may repair what they show: that belongs to this step.
    history_.Amend(CaptureDocument(context));
    UpdateTitle();
    UpdateEditActions();
}

void CMainFrame::FollowCodeplug(const CFormBase* except)
{
    const bool was = following_;
    following_ = true;
    for (std::size_t i = 0; i < kFormKindCount; ++i) {
        const auto kind = static_cast<FormKind>(i);
        if (CFormBase* form = Form(kind); form != nullptr && form != except)
            ShowFormAfresh(kind);
    }
    following_ = was;
}

void CMainFrame::ShowFormAfresh(FormKind kind)
{
    CFormBase* form = Form(kind);
    if (form == nullptr)
        return;
    AppContext& context = app_.Context();
    NavigationState& navigation = app_.Navigation();
    if (const auto records = RecordsFor(kind, context.codeplug, context.alarms)) {
        std::uint32_t& index = navigation.Index(kind);
        if (index >= *records) {
            index = *records - 1;
            if (const auto label = ItemLabelFor(kind, index, context.text)) {
                navigation.Title(kind) = *label;
                ApplyFormTitle(kind, FormWindow(kind));
            }
        }
    }
    form->OnInitialUpdate();
}

void CMainFrame::AfterDocumentReplaced()
{
    FollowCodeplug();
    RebuildTree();
    history_.Reset(CaptureDocument(app_.Context()));
    UpdateTitle();
    UpdateEditActions();
}

void CMainFrame::OnEditUndo()
{
    CommitPendingEdits();
    ShowHistoryStep(history_.Undo());
}

void CMainFrame::OnEditRedo()
{
    CommitPendingEdits();
    ShowHistoryStep(history_.Redo());
}

void CMainFrame::ShowHistoryStep(const std::optional<DocumentState>& state)
{
    if (!state)
        return;
    AppContext& context = app_.Context();
    const auto counts = [](const Codeplug& c) {
        return std::array{GetCount(c.DigitalChannelCount), GetCount(c.AnalogChannelCount), GetCount(c.ScanListCount),
                          GetCount(c.RxGroupCount)};
    };
    const bool countsChanged = counts(context.codeplug) != counts(state->codeplug);
    RestoreDocument(context, *state);
    FollowCodeplug();
    // The tree collapses when rebuilt: only when the step changed what it lists.
    if (countsChanged)
        RebuildTree();
    history_.Amend(CaptureDocument(context));
    UpdateTitle();
    UpdateEditActions();
}

void CMainFrame::OnCloseActiveForm()
{
    QMdiSubWindow* active = client_->activeSubWindow();
    for (std::size_t i = 0; active != nullptr && i < kFormKindCount; ++i)
        if (windows_[i] == active)
            CloseForm(static_cast<FormKind>(i));
}

void CMainFrame::CommitPendingEdits()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && client_->isAncestorOf(focus))
        focus->clearFocus();
}

void CMainFrame::CloseForm(FormKind kind)
{
    QPointer<QMdiSubWindow>& slot = windows_[static_cast<std::size_t>(kind)];
    QMdiSubWindow* window = slot;
    if (window == nullptr)
        return;
    slot = nullptr;
    // The window goes at once; its objects are deleted when control is back in the event loop,
    // so a form may close others (or itself) from inside its own handlers.
    window->hide();
    client_->removeSubWindow(window);
    window->deleteLater();
}

void CMainFrame::CloseAllForms()
{
    for (std::size_t i = 0; i < kFormKindCount; ++i) {
        const auto kind = static_cast<FormKind>(i);
        if (kind != FormKind::PasswordEC)
            CloseForm(kind);
    }
}

void CMainFrame::RefreshZoneAndScanForms()
{
    CloseForm(FormKind::Zone);
    CloseForm(FormKind::Scan);
    NavigationState& navigation = app_.Navigation();
    const Codeplug& codeplug = app_.Context().codeplug;
    const auto scanLists = UsedRecords(GetCount(codeplug.ScanListCount), codeplug.ScanTable);
    for (std::uint32_t i = 0; i < scanLists; ++i) {
        navigation.Index(FormKind::Scan) = i;
        OpenForm(FormKind::Scan);
    }
    for (std::uint32_t zone = 0; zone < codeplug.ZoneTable.kCapacity; ++zone) {
        navigation.Index(FormKind::Zone) = zone;
        OpenForm(FormKind::Zone);
    }
    CloseForm(FormKind::Zone);
    CloseForm(FormKind::Scan);
}

// ---------------------------------------------------------------------------------------------
// Commands

void CMainFrame::OnCommand(int command)
{
    switch (command) {
    case Cmd::FileNew: OnFileNew(); break;
    case Cmd::FileOpen: OnFileOpen(); break;
    case Cmd::FileSave: OnFileSave(); break;
    case Cmd::FileSaveAs: OnFileSaveAs(); break;
    case Cmd::FileImport: OnFileImport(); break;
    case Cmd::FileExport: OnFileExport(); break;
    case Cmd::FileExportPdf: OnFileExportPdf(); break;
    case Cmd::FilePrint: OnFilePrint(); break;
    case Cmd::FileExit: close(); break;
    case Cmd::FileClose: OnCloseActiveForm(); break;
    case Cmd::EditUndo: OnEditUndo(); break;
    case Cmd::EditRedo: OnEditRedo(); break;
    case Cmd::RadioInfo: OnRadioInfo(); break;
    case Cmd::GeneralFunctions: OnGeneralFunctions(); break;
    case Cmd::Keys: OnKeys(); break;
    case Cmd::Vox: OnVox(); break;
    case Cmd::MonitorCh: OnMonitorCh(); break;
    case Cmd::Channel: OnChannel(); break;
    case Cmd::AnalogChannel: OnAnalogChannel(); break;
    case Cmd::DmrBasic: OnDmrBasic(); break;
    case Cmd::DmrContact: OnDmrContact(); break;
    case Cmd::DmrRxGrpList: OnDmrRxGrpList(); break;
    case Cmd::TextMessage: OnTextMessage(); break;
    case Cmd::DigitalEmergAlarm: OnDigitalEmergAlarm(); break;
    case Cmd::AnalogEmergAlarm: OnAnalogEmergAlarm(); break;
    case Cmd::SetPort: OnSetPort(); break;
    case Cmd::PasswordSet: OnPasswordSet(); break;
    case Cmd::AdjustValue: OnAdjustValue(); break;
    case Cmd::ProgrammingPassword: OnProgrammingPassword(); break;
    case Cmd::Read: OnRead(); break;
    case Cmd::Write: OnWrite(); break;
    case Cmd::ViewToolbar: OnViewToolbar(); break;
    case Cmd::ViewStatusBar: OnViewStatusBar(); break;
    case Cmd::ViewNavigation: OnViewNavigation(); break;
    case Cmd::WindowTile: OnWindowTile(); break;
    case Cmd::WindowArrange: OnWindowArrange(); break;
    case Cmd::About: OnAppAbout(); break;
    case Cmd::Help: OnHelp(); break;
    case Cmd::LanguageChinese: OnSetLanguage(0); break;
    case Cmd::LanguageEnglish: OnSetLanguage(1); break;
    case Cmd::Nothing: break;
    default: break;
    }
}

void CMainFrame::OnRadioInfo()
{
    CDialog_RadioInfo dialog(app_.Context(), this);
    runDialog_(dialog);
}

void CMainFrame::OnGeneralFunctions() { OpenForm(FormKind::Fun); }
void CMainFrame::OnKeys() { OpenForm(FormKind::Key); }
void CMainFrame::OnVox() { OpenForm(FormKind::Vox); }
void CMainFrame::OnMonitorCh() { OpenForm(FormKind::MonitorCh); }
void CMainFrame::OnChannel() { OpenForm(FormKind::DigitalChannel); }
void CMainFrame::OnAnalogChannel() { OpenForm(FormKind::AnalogChannel); }
void CMainFrame::OnDmrBasic() { OpenForm(FormKind::Dmr); }
void CMainFrame::OnDmrContact() { OpenForm(FormKind::DmrContact); }
void CMainFrame::OnDmrRxGrpList() { OpenForm(FormKind::DmrRxGrpList); }
void CMainFrame::OnTextMessage() { OpenForm(FormKind::Message); }
void CMainFrame::OnDigitalEmergAlarm() { OpenForm(FormKind::DigitalEmergAlarm); }
void CMainFrame::OnAnalogEmergAlarm() { OpenForm(FormKind::AnalogEmergAlarm); }
void CMainFrame::OnProgrammingPassword() { OpenForm(FormKind::PasswordEC); }

void CMainFrame::OnSetPort()
{
    CDialog_SetComPort dialog(app_.Context(), {}, this);
    runDialog_(dialog);
}

void CMainFrame::OnPasswordSet()
{
    CDIALOG_PassWord dialog(app_.Context(), app_.Link(), this);
    runDialog_(dialog);
}

void CMainFrame::OnAdjustValue()
{
    CDialog_ADJ dialog(app_.Context(), app_.Link(), this);
    runDialog_(dialog);
}

void CMainFrame::OnRead()
{
    if (!AskToSaveChanges(kPubSaveChanges))
        return;
    CloseAllForms();
    RunTransferDialog(CDialog_RW::Mode::Read);
}

void CMainFrame::OnWrite()
{
    CloseAllForms();
    if (!CheckBeforeWrite())
        return;
    RunTransferDialog(CDialog_RW::Mode::Write);
}

bool CMainFrame::CheckBeforeWrite()
{
    const std::vector<CheckFinding> findings = CheckCodeplug(app_.Context().codeplug);
    if (CountErrors(findings) == 0)
        return true;
    CDialog_CheckFindings dialog(app_.Context().text, app_.Context().language, findings, this);
    connect(&dialog, &CDialog_CheckFindings::recordChosen, this, &CMainFrame::OpenRecordForm);
    runDialog_(dialog);
    return dialog.result() == QDialog::Accepted;
}

void CMainFrame::OpenRecordForm(const QString& section, int record, const QString& field)
{
    const auto shown = FormForRecord(section.toStdString(), static_cast<std::size_t>(std::max(record, 0)),
                                     field.toStdString());
    if (!shown)
        return;
    const auto [kind, index] = *shown;
    app_.Navigation().Index(kind) = index;
    if (const auto label = ItemLabelFor(kind, index, app_.Context().text))
        app_.Navigation().Title(kind) = *label;
    OpenForm(kind);
}

void CMainFrame::RunTransferDialog(CDialog_RW::Mode mode)
{
    AppContext& context = app_.Context();
    CDialog_RW dialog(context, app_.Link(), app_.Transfer(), mode, this);
    runDialog_(dialog);
    const bool done = dialog.result() == QDialog::Accepted;
    const QString port = QStringLiteral("COM%1").arg(context.settings.portNumber());
    if (mode != CDialog_RW::Mode::Read || !done) {
        NoteChange(nullptr);  // a write may give the radio ID a step up
        RebuildTree();
        if (mode == CDialog_RW::Mode::Write && done)
            statusBar()->showMessage(QText(context.text, "Pub", kPubWritten).arg(port));
        return;
    }
    // Every successful read is also kept, exactly as read, as a backup under the user's data
    // directory.
    const backups::Result backup = backups::Save(context.codeplug, backups::Directory());
    if (backup.ok) {
        MarkUnmodified();
    } else {
        // Without a backup the data read exist only here: they stay as unsaved changes, so
        // closing the window or opening another file asks to save them.
        prompts_->ShowMessage(this, QText(context.text, "Pub", kPubCaption),
                              QText(context.text, "Text_Str", 3) + "\n" + QString::fromStdString(backup.error) +
                                  "\n\n" + QText(context.text, "Text_Str", 5),
                              QMessageBox::Warning);
    }
    // The codeplug read has no file yet: Save asks for a name rather than overwriting the file
    // that was open before.
    context.currentFilePath.clear();
    const QString serial = QString::fromStdString(backups::SerialForFileName(context.codeplug));
    SetDocumentName(QText(context.text, "Pub", kPubReadTitle).arg(serial).toStdString());
    // A read changes the counts: the tree and the open forms follow them at once.
    AfterDocumentReplaced();
    QString message = QText(context.text, "Pub", kPubReadDone).arg(serial, port);
    if (backup.ok)
        message += "  " + QText(context.text, "Pub", kPubBackup).arg(QString::fromStdString(backup.path.string()));
    statusBar()->showMessage(message);
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

void CMainFrame::OnWindowTile() { client_->tileSubWindows(); }

void CMainFrame::OnWindowArrange()
{
    std::vector<QMdiSubWindow*> minimised;
    std::vector<QSize> sizes;
    for (QMdiSubWindow* window : client_->subWindowList(QMdiArea::CreationOrder)) {
        if (window->isMinimized() && window->isVisible()) {
            minimised.push_back(window);
            sizes.push_back(window->size());
        }
    }
    const std::vector<QPoint> positions = ArrangeIconPositions(client_->viewport()->size(), sizes);
    for (std::size_t i = 0; i < minimised.size(); ++i)
        minimised[i]->move(positions[i]);
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

// ---------------------------------------------------------------------------------------------
// Files

QStringList CMainFrame::FileFilters() const
{
    QStringList filters;
    for (const std::string& filter : FileDialogFilters(app_.Context().text.GetText("Pub", kPubFileFilter)))
        filters << QString::fromStdString(filter);
    return filters;
}

void CMainFrame::ShowMessage(const QString& text, int icon)
{
    prompts_->ShowMessage(this, QText(app_.Context().text, "Pub", kPubCaption), text,
                          static_cast<QMessageBox::Icon>(icon));
}

void CMainFrame::ShowFileError(const FileResult& result, const std::filesystem::path& path)
{
    const AppContext& context = app_.Context();
    switch (result.status) {
    case FileStatus::Ok:
        break;
    case FileStatus::WrongMarker:
        ShowMessage(QText(context.text, "RW_Str", kRwWrongFile), QMessageBox::Warning);
        break;
    case FileStatus::ShortFile:
        ShowMessage(QText(context.text, "RW_Str", kRwWrongFile), QMessageBox::Critical);
        break;
    case FileStatus::OpenFailed:
    case FileStatus::WriteFailed:
        ShowMessage(QString::fromStdString(FileErrorMessage(context.language, result.status, path, result.detail)),
                    QMessageBox::Critical);
        break;
    }
}

bool CMainFrame::LoadFile(const std::filesystem::path& path)
{
    const FileResult result = LoadCodeplugFile(app_.Context().codeplug, path);
    ShowFileError(result, path);
    return result.loaded();
}

bool CMainFrame::SaveFile(const std::filesystem::path& path)
{
    const FileResult result = SaveCodeplugFile(app_.Context().codeplug, path);
    ShowFileError(result, path);
    return result.ok();
}

void CMainFrame::SetDocumentName(const std::string& name)
{
    documentName_ = name;
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    std::string title = TitleWithName(MainTitleFor(app_.Context().language), documentName_);
    if (IsModified())
        title += " *";
    setWindowTitle(WindowTitleText(title));
}

bool CMainFrame::IsModified() const
{
    return CodeplugToBytes(app_.Context().codeplug) != unmodifiedImage_;
}

void CMainFrame::MarkUnmodified() { unmodifiedImage_ = CodeplugToBytes(app_.Context().codeplug); }

bool CMainFrame::AskToSaveChanges(int promptKey)
{
    CommitPendingEdits();
    if (!IsModified())
        return true;
    const TextCatalogue& text = app_.Context().text;
    switch (prompts_->AskYesNoCancel(this, QText(text, "Pub", kPubCaption), QText(text, "Pub", promptKey))) {
    case QMessageBox::Yes:
        // Only a saved codeplug lets the command go on; a cancelled or failed save stops it.
        return OnFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnFileNew()
{
    if (!AskToSaveChanges(kPubSaveChanges))
        return;
    CloseAllForms();
    AppContext& context = app_.Context();
    if (!LoadFile(context.DefaultCodeplugPath()))
        return;
    MarkUnmodified();
    context.currentFilePath = context.DefaultCodeplugPath();
    SetDocumentName({});
    AfterDocumentReplaced();
}

void CMainFrame::OnFileOpen()
{
    if (!AskToSaveChanges(kPubSaveChanges))
        return;
    CloseAllForms();
    const QStringList files = prompts_->AskOpenPaths(this, FileFilters());
    if (files.isEmpty())
        return;
    // Only the first of several selected files is opened.
    LoadDocument(ToPath(files.first()));
}

bool CMainFrame::OpenCodeplugFile(const std::filesystem::path& path)
{
    if (!AskToSaveChanges(kPubSaveChanges))
        return false;
    CloseAllForms();
    return LoadDocument(path);
}

bool CMainFrame::LoadDocument(const std::filesystem::path& path)
{
    if (!LoadFile(path))
        return false;
    MarkUnmodified();
    app_.Context().currentFilePath = path;
    SetDocumentName(path.string());
    AfterDocumentReplaced();
    RememberFile(path);
    statusBar()->showMessage(QText(app_.Context().text, "Pub", kPubOpened).arg(QString::fromStdString(path.string())));
    return true;
}

QString CMainFrame::ProposedSavePath() const
{
    const AppContext& context = app_.Context();
    if (!SaveNeedsName(context.currentFilePath, context.DataDirectory()))
        return QString::fromStdString(context.currentFilePath.string());
    if (!context.currentFilePath.empty())
        return {};  // the default file: the dialog opens where the last file was
    // Read from a radio: "<serial>-<date>.VNTX" in the folder last used.
    std::filesystem::path folder = recentFiles_.LastFolder();
    if (folder.empty())
        folder = QDir::homePath().toStdString();
    return QString::fromStdString(
        (folder / ProposedReadFileName(context.codeplug, std::chrono::system_clock::now())).string());
}

bool CMainFrame::OnFileSave()
{
    CloseAllForms();
    AppContext& context = app_.Context();
    std::filesystem::path path = context.currentFilePath;
    // Saving never overwrites the default file, and a codeplug read from a radio has no file
    // yet: then ask for a name.
    if (SaveNeedsName(path, context.DataDirectory())) {
        const QString chosen = prompts_->AskSavePath(this, FileFilters(), ProposedSavePath());
        if (chosen.isEmpty())
            return false;
        path = ToPath(chosen);
    }
    return SaveDocument(path);
}

bool CMainFrame::OnFileSaveAs()
{
    CloseAllForms();
    const QString chosen = prompts_->AskSavePath(this, FileFilters(), ProposedSavePath());
    if (chosen.isEmpty())
        return false;
    return SaveDocument(ToPath(chosen));
}

bool CMainFrame::SaveDocument(const std::filesystem::path& path)
{
    if (!SaveFile(path))
        return false;
    MarkUnmodified();
    app_.Context().currentFilePath = path;
    SetDocumentName(path.string());
    RememberFile(path);
    statusBar()->showMessage(QText(app_.Context().text, "Pub", kPubSaved).arg(QString::fromStdString(path.string())));
    return true;
}

bool CMainFrame::OnFileExport()
{
    CommitPendingEdits();
    AppContext& context = app_.Context();
    CDialog_Exchange choose(context.text, CDialog_Exchange::Mode::Export, exchangeKind_, this);
    runDialog_(choose);
    if (choose.result() != QDialog::Accepted)
        return false;
    exchangeKind_ = choose.Kind();
    const QString chosen = prompts_->AskSavePath(this, ExchangeFilters(context.text, exchangeKind_));
    if (chosen.isEmpty())
        return false;
    const FileResult written = WriteExport(context.codeplug, exchangeKind_, ToPath(chosen));
    if (!written.ok()) {
        ShowMessage(QText(context.text, kExchange, kExportFailed) + "\n" + chosen + "\n" +
                        QString::fromStdString(written.detail),
                    QMessageBox::Critical);
        return false;
    }
    statusBar()->showMessage(QText(context.text, kExchange, kExported).arg(chosen));
    return true;
}

ChannelSheet CMainFrame::Sheet() const { return BuildChannelSheet(app_.Context().codeplug, app_.Context().text); }

void CMainFrame::OnFilePrint()
{
    CommitPendingEdits();
    const ChannelSheet sheet = Sheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(LocalPaperSize()), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    printer.setDocName(QString::fromStdString(sheet.title));
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(MenuText(kMenuPrint).remove('&').remove(QStringLiteral("...")));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { PaintChannelSheet(*target, sheet); });
    // Room for a whole page beside the preview's tools, within the screen.
    const QRect screen = this->screen() != nullptr ? this->screen()->availableGeometry() : QRect(0, 0, 1366, 728);
    preview.resize(QSize(1000, 900).boundedTo(screen.size() - QSize(16, 48)));
    runDialog_(preview);
}

bool CMainFrame::OnFileExportPdf()
{
    CommitPendingEdits();
    AppContext& context = app_.Context();
    QStringList filters;
    for (const std::string& filter : FileDialogFilters(context.text.GetText("Sheet", kSheetFilter)))
        filters << QString::fromStdString(filter);
    // Beside the codeplug's file, named after it; for a codeplug without a file, in the folder last used.
    std::filesystem::path proposed = context.currentFilePath;
    if (proposed.empty() || SaveNeedsName(proposed, context.DataDirectory()))
        proposed = (recentFiles_.LastFolder().empty() ? std::filesystem::path(QDir::homePath().toStdString())
                                                       : recentFiles_.LastFolder()) /
                   (backups::SerialForFileName(context.codeplug) + ".pdf");
    else
        proposed.replace_extension(".pdf");
    const QString chosen = prompts_->AskSavePath(this, filters, QString::fromStdString(proposed.string()));
    if (chosen.isEmpty())
        return false;
    const QByteArray pdf = ChannelSheetPdf(Sheet(), LocalPaperSize());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pdf.constData());
    const FileResult written = ReplaceFileContents(ToPath(chosen), std::span(bytes, static_cast<std::size_t>(pdf.size())));
    if (!written.ok()) {
        ShowMessage(QText(context.text, "Sheet", kSheetFailed) + "\n" + chosen + "\n" + QString::fromStdString(written.detail),
                    QMessageBox::Critical);
        return false;
    }
    statusBar()->showMessage(QText(context.text, "Sheet", kSheetWritten).arg(chosen));
    return true;
}

bool CMainFrame::OnFileImport()
{
    CommitPendingEdits();
    AppContext& context = app_.Context();
    CDialog_Exchange choose(context.text, CDialog_Exchange::Mode::Import, exchangeKind_, this);
    runDialog_(choose);
    if (choose.result() != QDialog::Accepted)
        return false;
    exchangeKind_ = choose.Kind();
    const QStringList files = prompts_->AskOpenPaths(this, ExchangeFilters(context.text, exchangeKind_));
    if (files.isEmpty())
        return false;
    const QString file = files.first();
    if (PreviewsImport(exchangeKind_)) {
        if (!ImportWithPreview(file))
            return false;
    } else {
        // ImportFile changes the codeplug only when the whole file is good.
        const ImportOutcome outcome = ImportFile(ToPath(file), exchangeKind_, context.codeplug);
        if (!outcome.imported()) {
            ShowImportOutcome(outcome, file);
            return false;
        }
    }
    // One step, shown in every open form; counts may have changed: as after a read or Open.
    NoteChange(nullptr, ChangeName{EditKey::Import, 0, 0, QFileInfo(file).fileName().toStdString()});
    RebuildTree();
    history_.Amend(CaptureDocument(context));
    UpdateEditActions();
    statusBar()->showMessage(QText(context.text, kExchange, kImported).arg(file));
    return true;
}

bool CMainFrame::ImportWithPreview(const QString& file)
{
    AppContext& context = app_.Context();
    ImportPlan plan;
    const ImportOutcome read = ReadImportPlan(ToPath(file), exchangeKind_, plan);
    if (!read.imported()) {
        ShowImportOutcome(read, file);
        return false;
    }
    // The preview changes the codeplug only on Import, and only when the whole import is good.
    CDialog_ImportPreview preview(context.text, file, std::move(plan), DefaultImportMode(exchangeKind_),
                                  context.codeplug, this);
    runDialog_(preview);
    return preview.result() == QDialog::Accepted;
}

void CMainFrame::ShowImportOutcome(const ImportOutcome& outcome, const QString& file)
{
    using Status = ImportOutcome::Status;
    const TextCatalogue& text = app_.Context().text;
    if (outcome.status == Status::Refused) {
        CDialog_ImportProblems problems(text, file, outcome.problems, this);
        runDialog_(problems);
        return;
    }
    int key = kUnreadable;
    switch (outcome.status) {
    case Status::Unreadable: key = kUnreadable; break;
    case Status::Empty: key = kEmptyFile; break;
    case Status::TooLarge: key = kTooLarge; break;
    case Status::Binary: key = kBinaryFile; break;
    case Status::NotUtf8: key = kNotUtf8; break;
    case Status::NotJson: key = kNotJson; break;
    case Status::Imported:
    case Status::Refused: return;
    }
    // What is wrong, the file, and the system's or the parser's own words where there are some.
    QString message = QText(text, kExchange, key) + "\n" + file;
    if (!outcome.detail.empty())
        message += "\n" + QString::fromStdString(outcome.detail);
    ShowMessage(message + "\n\n" + QText(text, kExchange, kNothingChanged), QMessageBox::Warning);
}

// ---------------------------------------------------------------------------------------------
// Closing and focus

bool CMainFrame::ConfirmClose() { return AskToSaveChanges(kPubClosePrompt); }

std::optional<std::filesystem::path> CMainFrame::DroppedCodeplugFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return std::nullopt;
    const QString file = data->urls().first().toLocalFile();
    if (!file.endsWith(QStringLiteral(".VNTX"), Qt::CaseInsensitive))
        return std::nullopt;
    return ToPath(file);
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
    OpenCodeplugFile(*file);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!ConfirmClose()) {
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
        UpdateTitle();
    }
}
