#pragma once
// The main window's document: the File and Edit commands (New, Open, Save, export, import,
// print, undo and redo), the title with its modified mark, the recent files and the undo
// history. What changed the codeplug reaches NoteChange, which records the step and lets every
// open form follow.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "app/EditHistory.h"
#include "app/RecentFiles.h"
#include "app/TextExchange.h"
#include "forms/ChannelSheet.h"

class CFormBase;
class MainWindowHost;
class QMenu;
struct AppContext;
struct FileResult;

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    DocumentCommands(MainWindowHost& frame, AppContext& context);

    // At start-up: the default codeplug file, unmodified, with a fresh history and the recent
    // files of the last run.
    void Start();

    void OnFileNew();
    void OnFileOpen();
    // Opens a codeplug file (the command line, a dropped file, File › Recent files), first
    // asking whether to save changes; true when it was opened.
    bool OpenCodeplugFile(const std::filesystem::path& path);
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
    // File › Import: asks what and from where; the codeplug is replaced only when the whole file
    // is good, otherwise every problem is listed and nothing changes. True when imported.
    bool OnFileImport();
    // Edit › Undo and Redo: the document as before / after the step, shown in every open form.
    void OnEditUndo();
    void OnEditRedo();

    // The document may have changed (by form `by`, or by a command of the window when null):
    // when it did, an undo step named `name` (or after the difference) is recorded, the other
    // forms follow and the title shows the modified mark.
    void NoteChange(const CFormBase* by, std::optional<ChangeName> name = std::nullopt);
    // A codeplug read from a radio replaced the document: it has no file yet and is named
    // `name` in the title; `kept` when a backup holds it (it is then unmodified).
    void AfterRead(const std::string& name, bool kept);

    // With changes, asks whether to save them before the document is replaced: Yes saves (true
    // when it did), No goes on, Cancel stops. True without changes.
    bool AskToSaveChanges();
    // The same question when the window closes; true when it may close.
    bool ConfirmClose();
    // Whether the codeplug differs from what was last loaded, saved or read; the title then
    // ends in " *".
    bool IsModified() const;
    const EditHistory& History() const { return history_; }
    const RecentFiles& Recent() const { return recentFiles_; }

    void SetRecentMenu(QMenu* menu);
    void UpdateTitle();
    // Undo and Redo enabled and named after their steps.
    void UpdateEditActions();

private:
    bool AskToSave(int promptKey);
    // After New, Open and Read: the open forms follow, the tree is rebuilt and the history starts afresh.
    void AfterDocumentReplaced();
    void ShowHistoryStep(const std::optional<DocumentState>& state);
    bool LoadFile(const std::filesystem::path& path);
    bool SaveFile(const std::filesystem::path& path);
    void ShowFileError(const FileResult& result, const std::filesystem::path& path);
    bool LoadDocument(const std::filesystem::path& path);
    bool SaveDocument(const std::filesystem::path& path);
    // What the title names in brackets: the file, "Read from radio SN0742", or nothing.
    void SetDocumentName(const std::string& name);
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
    // The channel sheet of the codeplug in the run's language.
    ChannelSheet Sheet() const;

    MainWindowHost& frame_;
    AppContext& context_;
    std::string documentName_;  // the title's name in brackets; empty: none
    RecentFiles recentFiles_;
    QMenu* recentMenu_ = nullptr;
    std::vector<std::uint8_t> unmodifiedImage_;  // the codeplug as last loaded, saved or read
    EditHistory history_;
    ExchangeKind exchangeKind_ = ExchangeKind::WholeJson;  // offered first by the next export or import
};
