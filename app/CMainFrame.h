#pragma once
// The main window: menu bar of the run's language, toolbar, status bar, the navigation tree in
// a dock at the left and the MDI client area in which each editing form has one child window.
//
// Creating it loads the default Codeplug file and builds the tree. Every command of the menus,
// toolbar and keys comes to OnCommand, which hands it to the forms' windows, the document's
// commands or the radio's.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <filesystem>
#include <optional>

#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>

#include "app/MainWindowHost.h"
#include "app/UserPrompts.h"

class DocumentCommands;
class FormWindows;
class TransferCommands;
class CVanticApp;
class QAction;
class QDockWidget;
class QLabel;
class QMimeData;
class QMenu;
class QMdiSubWindow;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
struct NavNode;

// The client area: an MDI area on a tiled background.
class CClientWnd : public QMdiArea {
    Q_OBJECT
public:
    explicit CClientWnd(QWidget* parent = nullptr);
};

class CMainFrame : public QMainWindow, public MainWindowHost {
    Q_OBJECT
public:
    // Tree item data roles: the number a numbered item carries and the "Tree" key of the label.
    static constexpr int kNumberRole = Qt::UserRole + 1;
    static constexpr int kTextKeyRole = Qt::UserRole + 2;
    static constexpr int kTreeControlId = 131;

    // `prompts` asks the user; the real dialogs when null.
    explicit CMainFrame(CVanticApp& app, std::unique_ptr<IUserPrompts> prompts = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The editing forms, the document's commands and the radio's.
    FormWindows& Windows() const override { return *windows_; }
    DocumentCommands& Documents() const override { return *documents_; }
    TransferCommands& Transfers() const { return *transfers_; }

    // Navigation.
    void RebuildTree() override;
    void ClickTreeItem(QTreeWidgetItem* item);  // what a mouse click on the item does

    // How the modal dialogs of the commands are run: exec() by default. Tests replace it to see
    // which dialog a command opens without entering a modal loop.
    using DialogRunner = std::function<void(QDialog& dialog)>;
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    void RunDialog(QDialog& dialog) const override { runDialog_(dialog); }

    // Shows the window at its preferred size, centred in the screen's available area, or
    // maximised where that area cannot hold it with its frame (a 1366 x 768 laptop).
    static constexpr QSize kPreferredSize{1280, 860};
    void ShowFitted(const QRect& available);

    // The codeplug file a drag carries (exactly one local *.VNTX file), if any.
    static std::optional<std::filesystem::path> DroppedCodeplugFile(const QMimeData* data);

    // How the program asks and tells the user (forms show their messages through it too).
    IUserPrompts& Prompts() const override { return *prompts_; }
    // A message under the program's caption.
    void ShowMessage(const QString& text, int icon) override;
    QString Caption() const override;
    // A label of section "Menu" in the language of the installed menu bar.
    QString MenuText(int key) const override;

    // Runs a command by id (menu, toolbar and keys all come here).
    void OnCommand(int command);
    void OnViewToolbar();
    void OnViewStatusBar();
    void OnViewNavigation();
    void OnAppAbout();
    void OnHelp();
    void OnSetLanguage(std::uint8_t language);

    // Parts, for the program and its tests.
    QTreeWidget* Tree() const { return tree_; }
    CClientWnd* ClientArea() const { return client_; }
    QDockWidget* NavigationBar() const { return navigationBar_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QAction* CommandAction(int command) const override;  // the menu or shortcut action of a command
    QMainWindow& Window() override { return *this; }
    bool EnglishMenus() const { return englishMenus_; }
    QDialog* HelpWindow() const { return helpWindow_; }  // the manual's window while it is open

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void CreateNavigationBar();
    void InstallMenuBar();
    QAction* MakeCommandAction(int command, const QString& label, const char* shortcut);
    void UpdateViewChecks();
    void AddTreeItems(QTreeWidgetItem* parent, const NavNode& node);

    CVanticApp& app_;
    DialogRunner runDialog_ = [](QDialog& dialog) { dialog.exec(); };
    std::unique_ptr<IUserPrompts> prompts_;
    bool englishMenus_ = false;

    CClientWnd* client_ = nullptr;
    QDockWidget* navigationBar_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;
    QPointer<QDialog> helpWindow_;

    std::unique_ptr<FormWindows> windows_;
    DocumentCommands* documents_ = nullptr;
    TransferCommands* transfers_ = nullptr;
};
