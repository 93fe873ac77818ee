#pragma once
// The main window: menu bar of the run's language, toolbar, status bar, the navigation tree in
// a dock at the left and the MDI client area in which each editing form has one child window.
//
// Creating it loads the default Codeplug file and builds the tree. Every command has one handler
// (On...); commands whose dialog or form is not built yet do nothing.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>

#include "app/EditHistory.h"
#include "core/NavigationState.h"
#include "app/RecentFiles.h"
#include "app/TextExchange.h"
#include "app/UserPrompts.h"
#include "forms/ChannelSheet.h"
#include "codeplug/CodeplugFile.h"
#include "link/CDialog_RW.h"

class CFormBase;
struct FormContext;
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

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    using FormFactory = std::function<CFormBase*(FormContext&)>;

    // Tree item data roles: the number a numbered item carries and the "Tree" key of the label.
    static constexpr int kNumberRole = Qt::UserRole + 1;
    static constexpr int kTextKeyRole = Qt::UserRole + 2;
    static constexpr int kTreeControlId = 131;

    // `prompts` asks the user; the real dialogs when null.
    explicit CMainFrame(CVanticApp& app, std::unique_ptr<IUserPrompts> prompts = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Navigation.
    void RebuildTree();

    // How the modal radio dialogs (port, transfer) are run: exec() by default. Tests replace it
    // to see which dialog a command opens without entering a modal loop.
    using DialogRunner = std::function<void(QDialog& dialog)>;
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    void ClickTreeItem(QTreeWidgetItem* item);  // what a mouse click on the item does
    void SetFormFactory(FormKind kind, FormFactory factory);
    void OpenForm(FormKind kind);
    void CloseForm(FormKind kind);
    void CloseAllForms();  // all but the programming password settings form
    // Every open form but `except` shows the codeplug again from its records: its lists filled
    // from the current counts, its current record shown (the nearest one that exists when its
    // record is gone).
    void FollowCodeplug(const CFormBase* except = nullptr);
    void RefreshZoneAndScanForms();
    CFormBase* Form(FormKind kind) const;
    // The form a child window holds (inside its scroll area); null for none.
    static CFormBase* FormIn(const QMdiSubWindow* window);
    // A form window's size: the specified size, cut to the client area where that is smaller
    // (an empty `available` leaves the specified size).
    static QSize FittedFormSize(QSize specified, QSize available);
    QMdiSubWindow* FormWindow(FormKind kind) const;

    // Shows the window at its preferred size, centred in the screen's available area, or
    // maximised where that area cannot hold it with its frame (a 1366 x 768 laptop).
    static constexpr QSize kPreferredSize{1280, 860};
    void ShowFitted(const QRect& available);

    // The close prompt: asked only when the codeplug was changed; true when the window may close.
    bool ConfirmClose();
    // Opens a codeplug file (the command line, a dropped file, File › Recent files), first
    // asking whether to save changes; true when it was opened.
    bool OpenCodeplugFile(const std::filesystem::path& path);
    const RecentFiles& Recent() const { return recentFiles_; }

    // How the program asks and tells the user (forms show their messages through it too).
    IUserPrompts& Prompts() const { return *prompts_; }

    // Runs a command by id (menu, toolbar and keys all come here).
    void OnCommand(int command);

    // Command handlers.
    void OnFileNew();
    void OnFileOpen();
    // Saves to the current file, or asks for a name when there is none (the default file, a
    // codeplug read from a radio); true when the Codeplug was written.
    bool OnFileSave();
    bool OnFileSaveAs();  // true when the Codeplug was written
    // File › Export: asks what and where, writes the file; true when it was written.
    bool OnFileExport();
    // File › Export › Channel sheet (PDF): asks where and writes the sheet; true when written.
    bool OnFileExportPdf();
    // Print: the channel sheet in a print preview, printed from there.
    void OnFilePrint();
    // Edit › Undo and Redo: the document as before / after the step, shown in every open form.
    void OnEditUndo();
    void OnEditRedo();
    void OnCloseActiveForm();  // Window › Close window (Ctrl+F4)
    // The codeplug file a drag carries (exactly one local *.VNTX file), if any.
    static std::optional<std::filesystem::path> DroppedCodeplugFile(const QMimeData* data);
    // File › Import: asks what and from where; the codeplug is replaced only when the whole file
    // is good, otherwise every problem is listed and nothing changes. True when imported.
    bool OnFileImport();
    // Whether the codeplug differs from what was last loaded, saved or read; the title then
    // ends in " *".
    bool IsModified() const;
    // The undo history; its current state is the document as this window last saw it.
    const EditHistory& History() const { return history_; }
    void OnRadioInfo();
    void OnGeneralFunctions();
    void OnKeys();
    void OnVox();
    void OnMonitorCh();
    void OnChannel();
    void OnAnalogChannel();
    void OnDmrBasic();
    void OnDmrContact();
    void OnDmrRxGrpList();
    void OnTextMessage();
    void OnDigitalEmergAlarm();
    void OnAnalogEmergAlarm();
    void OnSetPort();
    void OnPasswordSet();
    void OnAdjustValue();
    void OnProgrammingPassword();
    void OnRead();
    void OnWrite();
    // Runs the codeplug check; with errors lists them and asks whether to write anyway.
    bool CheckBeforeWrite();
    // Opens the form that shows record `record` (0-based) of a codeplug section ("zones"), the
    // field telling which form where a block has two.
    void OpenRecordForm(const QString& section, int record, const QString& field = {});
    void RunTransferDialog(CDialog_RW::Mode mode);
    void OnViewToolbar();
    void OnViewStatusBar();
    void OnViewNavigation();
    void OnWindowTile();
    void OnWindowArrange();
    void OnAppAbout();
    void OnHelp();
    void OnSetLanguage(std::uint8_t language);

    // Parts, for the program and its tests.
    QTreeWidget* Tree() const { return tree_; }
    CClientWnd* ClientArea() const { return client_; }
    QDockWidget* NavigationBar() const { return navigationBar_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QAction* CommandAction(int command) const;  // the menu or shortcut action of a command
    bool EnglishMenus() const { return englishMenus_; }
    QDialog* HelpWindow() const { return helpWindow_; }  // the manual's window while it is open

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A new form's requests (tree rebuild, other forms closed or refreshed, messages) and its
    // changes of the codeplug reach this window.
    void ConnectFormRequests(CFormBase& form);
    // The document may have changed (by form `by`, or by a command of this window when null):
    // when it did, an undo step named `name` (or after the difference) is recorded, the other
    // forms follow and the title shows the modified mark.
    void NoteChange(const CFormBase* by, std::optional<ChangeName> name = std::nullopt);
    // After New, Open and Read: the open forms follow, the tree is rebuilt and the history starts afresh.
    void AfterDocumentReplaced();
    void ShowFormAfresh(FormKind kind);
    // Text typed into a form's box counts once the box loses the focus: it loses it now.
    void CommitPendingEdits();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateNavigationBar();
    void InstallMenuBar();
    QAction* MakeCommandAction(int command, const QString& label, const char* shortcut);
    void UpdateViewChecks();
    // A label of section "Menu" in the language of the installed menu bar.
    QString MenuText(int key) const;
    // Undo and Redo enabled and named after their steps.
    void UpdateEditActions();
    void ShowHistoryStep(const std::optional<DocumentState>& state);
    // The channel sheet of the codeplug in the run's language.
    ChannelSheet Sheet() const;
    void AddTreeItems(QTreeWidgetItem* parent, const NavNode& node);

    // Loads a file over the Codeplug and reports problems; true when it was loaded.
    bool LoadFile(const std::filesystem::path& path);
    // Saves and reports problems; true when the file was written.
    bool SaveFile(const std::filesystem::path& path);
    void ShowFileError(const FileResult& result, const std::filesystem::path& path);
    void ShowMessage(const QString& text, int icon);
    // What the title names in brackets: the file, "Read from radio SN0742", or nothing.
    void SetDocumentName(const std::string& name);
    void UpdateTitle();
    // With changes, asks (text Pub `promptKey`) whether to save them: Yes saves (true when it
    // did), No goes on, Cancel stops. True without changes.
    bool AskToSaveChanges(int promptKey);
    bool LoadDocument(const std::filesystem::path& path);
    bool SaveDocument(const std::filesystem::path& path);
    // The current file, or for a codeplug read from a radio "<serial>-<date>.VNTX" in the folder
    // last used; "" for the default file.
    QString ProposedSavePath() const;
    // A file opened or saved joins File › Recent files.
    void RememberFile(const std::filesystem::path& path);
    void UpdateRecentMenu();
    void MarkUnmodified();  // the codeplug as it is now is the one loaded, saved or read
    void ShowImportOutcome(const ImportOutcome& outcome, const QString& file);
    // Another program's file: its rows in the preview, stored as the user chooses there.
    bool ImportWithPreview(const QString& file);
    QStringList FileFilters() const;
    void ApplyFormTitle(FormKind kind, QMdiSubWindow* window);
    void KeepCommandKeys(QMdiSubWindow* window) const;

    CVanticApp& app_;
    DialogRunner runDialog_ = [](QDialog& dialog) { dialog.exec(); };
    std::unique_ptr<IUserPrompts> prompts_;
    bool englishMenus_ = false;

    CClientWnd* client_ = nullptr;
    QDockWidget* navigationBar_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;

    std::array<QPointer<QMdiSubWindow>, kFormKindCount> windows_;
    QPointer<QDialog> helpWindow_;
    std::array<FormFactory, kFormKindCount> factories_;

    std::string documentName_;                   // the title's name in brackets; empty: none
    RecentFiles recentFiles_;
    QMenu* recentMenu_ = nullptr;
    std::vector<std::uint8_t> unmodifiedImage_;  // the codeplug as last loaded, saved or read
    EditHistory history_;
    bool following_ = false;  // forms are being shown afresh: what they repair is part of the change
    ExchangeKind exchangeKind_ = ExchangeKind::WholeJson;  // offered first by the next export or import
};
