#include "app/DocumentCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QMainWindow>
#include <QStatusBar>

#include "app/CDialog_Exchange.h"
#include "app/CDialog_ImportPreview.h"
#include "app/CDialog_ImportProblems.h"
#include "app/MainWindowHost.h"
#include "app/UserPrompts.h"
#include "app/CommandTable.h"
#include "app/FileCommands.h"
#include "app/FormWindows.h"
#include "app/Navigation.h"
#include "core/AppContext.h"
#include "core/Backups.h"
#include "forms/SheetPainter.h"
#include "ui/QtText.h"

namespace {

constexpr int kPubClosePrompt = 11;
constexpr int kPubFileFilter = 12;
constexpr int kPubSaveChanges = 50;  // before New, Open, Read and a dropped file
constexpr int kPubOpened = 52;       // %1 the file
constexpr int kPubSaved = 53;        // %1 the file
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

// Keys of section "Menu".
constexpr int kMenuPrint = 27;
constexpr int kMenuUndo = 29, kMenuRedo = 30;

// Qt reads "[*]" in a window title as the modified marker; a literal one is written twice.
QString WindowTitleText(const std::string& title)
{
    return QString::fromStdString(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

std::filesystem::path ToPath(const QString& text) { return std::filesystem::path(text.toStdString()); }

}  // namespace

DocumentCommands::DocumentCommands(MainWindowHost& frame, AppContext& context)
    : QObject(&frame.Window()), frame_(frame), context_(context)
{
}

void DocumentCommands::Start()
{
    LoadFile(context_.DefaultCodeplugPath());
    MarkUnmodified();
    // The default file is current even when it could not be read.
    context_.currentFilePath = context_.DefaultCodeplugPath();
    history_.Reset(CaptureDocument(context_));
    recentFiles_.Load(context_.programDirectory / kRecentFilesName);
    UpdateTitle();
}

// ---------------------------------------------------------------------------------------------
// The document's state

void DocumentCommands::NoteChange(const CFormBase* by, std::optional<ChangeName> name)
{
    if (frame_.Windows().Following())
        return;
    const DocumentState now = CaptureDocument(context_);
    if (now == history_.Current())
        return;
    history_.Record(now, name ? *name : NameChange(history_.Current(), now));
    frame_.Windows().FollowCodeplug(by);
    // Forms shown afresh may repair what they show: that belongs to this step.
    history_.Amend(CaptureDocument(context_));
    UpdateTitle();
    UpdateEditActions();
}

void DocumentCommands::AfterDocumentReplaced()
{
    frame_.Windows().FollowCodeplug();
    frame_.RebuildTree();
    history_.Reset(CaptureDocument(context_));
    UpdateTitle();
    UpdateEditActions();
}

void DocumentCommands::AfterRead(const std::string& name, bool kept)
{
    if (kept)
        MarkUnmodified();
    // The codeplug read has no file yet: Save asks for a name rather than overwriting the file
    // that was open before.
    context_.currentFilePath.clear();
    SetDocumentName(name);
    // A read changes the counts: the tree and the open forms follow them at once.
    AfterDocumentReplaced();
}

void DocumentCommands::OnEditUndo()
{
    frame_.Windows().CommitPendingEdits();
    ShowHistoryStep(history_.Undo());
}

void DocumentCommands::OnEditRedo()
{
    frame_.Windows().CommitPendingEdits();
    ShowHistoryStep(history_.Redo());
}

void DocumentCommands::ShowHistoryStep(const std::optional<DocumentState>& state)
{
    if (!state)
        return;
    const auto counts = [](const Codeplug& c) {
        return std::array{GetCount(c.DigitalChannelCount), GetCount(c.AnalogChannelCount), GetCount(c.ScanListCount),
                          GetCount(c.RxGroupCount)};
    };
    const bool countsChanged = counts(context_.codeplug) != counts(state->codeplug);
    RestoreDocument(context_, *state);
    frame_.Windows().FollowCodeplug();
    // The tree collapses when rebuilt: only when the step changed what it lists.
    if (countsChanged)
        frame_.RebuildTree();
    history_.Amend(CaptureDocument(context_));
    UpdateTitle();
    UpdateEditActions();
}

void DocumentCommands::UpdateEditActions()
{
    const auto update = [&](int command, const ChangeName* name, int plainKey, int namedKey) {
        QAction* action = frame_.CommandAction(command);
        if (action == nullptr)
            return;
        action->setEnabled(name != nullptr);
        action->setText(name != nullptr
                            ? frame_.MenuText(namedKey).arg(QString::fromStdString(ChangeText(*name, context_.text)))
                            : frame_.MenuText(plainKey));
        action->setToolTip(action->text().remove('&'));
    };
    update(Cmd::EditUndo, history_.UndoName(), kMenuUndo, MenuKey::UndoNamed);
    update(Cmd::EditRedo, history_.RedoName(), kMenuRedo, MenuKey::RedoNamed);
}

void DocumentCommands::SetDocumentName(const std::string& name)
{
    documentName_ = name;
    UpdateTitle();
}

void DocumentCommands::UpdateTitle()
{
    std::string title = TitleWithName(MainTitleFor(context_.language), documentName_);
    if (IsModified())
        title += " *";
    frame_.Window().setWindowTitle(WindowTitleText(title));
}

bool DocumentCommands::IsModified() const { return CodeplugToBytes(context_.codeplug) != unmodifiedImage_; }

void DocumentCommands::MarkUnmodified() { unmodifiedImage_ = CodeplugToBytes(context_.codeplug); }

bool DocumentCommands::AskToSaveChanges() { return AskToSave(kPubSaveChanges); }

bool DocumentCommands::ConfirmClose() { return AskToSave(kPubClosePrompt); }

bool DocumentCommands::AskToSave(int promptKey)
{
    frame_.Windows().CommitPendingEdits();
    if (!IsModified())
        return true;
    QWidget* window = &frame_.Window();
    switch (frame_.Prompts().AskYesNoCancel(window, frame_.Caption(), QText(context_.text, "Pub", promptKey))) {
    case QMessageBox::Yes:
        // Only a saved codeplug lets the command go on; a cancelled or failed save stops it.
        return OnFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Recent files

void DocumentCommands::SetRecentMenu(QMenu* menu)
{
    recentMenu_ = menu;
    UpdateRecentMenu();
}

void DocumentCommands::UpdateRecentMenu()
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
        recentMenu_->addAction(frame_.MenuText(MenuKey::NoRecentFiles))->setEnabled(false);
}

void DocumentCommands::RememberFile(const std::filesystem::path& path)
{
    recentFiles_.Add(path);
    recentFiles_.Save(context_.programDirectory / kRecentFilesName);
    UpdateRecentMenu();
}

// ---------------------------------------------------------------------------------------------
// Codeplug files

QStringList DocumentCommands::FileFilters() const
{
    QStringList filters;
    for (const std::string& filter : FileDialogFilters(context_.text.GetText("Pub", kPubFileFilter)))
        filters << QString::fromStdString(filter);
    return filters;
}

void DocumentCommands::ShowFileError(const FileResult& result, const std::filesystem::path& path)
{
    switch (result.status) {
    case FileStatus::Ok:
        break;
    case FileStatus::WrongMarker:
        frame_.ShowMessage(QText(context_.text, "RW_Str", kRwWrongFile), QMessageBox::Warning);
        break;
    case FileStatus::ShortFile:
        frame_.ShowMessage(QText(context_.text, "RW_Str", kRwWrongFile), QMessageBox::Critical);
        break;
    case FileStatus::OpenFailed:
    case FileStatus::WriteFailed:
        frame_.ShowMessage(
            QString::fromStdString(FileErrorMessage(context_.language, result.status, path, result.detail)),
            QMessageBox::Critical);
        break;
    }
}

bool DocumentCommands::LoadFile(const std::filesystem::path& path)
{
    const FileResult result = LoadCodeplugFile(context_.codeplug, path);
    ShowFileError(result, path);
    return result.loaded();
}

bool DocumentCommands::SaveFile(const std::filesystem::path& path)
{
    const FileResult result = SaveCodeplugFile(context_.codeplug, path);
    ShowFileError(result, path);
    return result.ok();
}

void DocumentCommands::OnFileNew()
{
    if (!AskToSaveChanges())
        return;
    frame_.Windows().CloseAllForms();
    if (!LoadFile(context_.DefaultCodeplugPath()))
        return;
    MarkUnmodified();
    context_.currentFilePath = context_.DefaultCodeplugPath();
    SetDocumentName({});
    AfterDocumentReplaced();
}

void DocumentCommands::OnFileOpen()
{
    if (!AskToSaveChanges())
        return;
    frame_.Windows().CloseAllForms();
    const QStringList files = frame_.Prompts().AskOpenPaths(&frame_.Window(), FileFilters());
    if (files.isEmpty())
        return;
    // Only the first of several selected files is opened.
    LoadDocument(ToPath(files.first()));
}

bool DocumentCommands::OpenCodeplugFile(const std::filesystem::path& path)
{
    if (!AskToSaveChanges())
        return false;
    frame_.Windows().CloseAllForms();
    return LoadDocument(path);
}

bool DocumentCommands::LoadDocument(const std::filesystem::path& path)
{
    if (!LoadFile(path))
        return false;
    MarkUnmodified();
    context_.currentFilePath = path;
    SetDocumentName(path.string());
    AfterDocumentReplaced();
    RememberFile(path);
    const QString opened = QText(context_.text, "Pub", kPubOpened).arg(QString::fromStdString(path.string()));
    frame_.Window().statusBar()->showMessage(opened);
    return true;
}

QString DocumentCommands::ProposedSavePath() const
{
    if (!SaveNeedsName(context_.currentFilePath, context_.DataDirectory()))
        return QString::fromStdString(context_.currentFilePath.string());
    if (!context_.currentFilePath.empty())
        return {};  // the default file: the dialog opens where the last file was
    // Read from a radio: "<serial>-<date>.VNTX" in the folder last used.
    std::filesystem::path folder = recentFiles_.LastFolder();
    if (folder.empty())
        folder = QDir::homePath().toStdString();
    return QString::fromStdString(
        (folder / ProposedReadFileName(context_.codeplug, std::chrono::system_clock::now())).string());
}

bool DocumentCommands::OnFileSave()
{
    frame_.Windows().CloseAllForms();
    std::filesystem::path path = context_.currentFilePath;
    // Saving never overwrites the default file, and a codeplug read from a radio has no file
    // yet: then ask for a name.
    if (SaveNeedsName(path, context_.DataDirectory())) {
        const QString chosen = frame_.Prompts().AskSavePath(&frame_.Window(), FileFilters(), ProposedSavePath());
        if (chosen.isEmpty())
            return false;
        path = ToPath(chosen);
    }
    return SaveDocument(path);
}

bool DocumentCommands::OnFileSaveAs()
{
    frame_.Windows().CloseAllForms();
    const QString chosen = frame_.Prompts().AskSavePath(&frame_.Window(), FileFilters(), ProposedSavePath());
    if (chosen.isEmpty())
        return false;
    return SaveDocument(ToPath(chosen));
}

bool DocumentCommands::SaveDocument(const std::filesystem::path& path)
{
    if (!SaveFile(path))
        return false;
    MarkUnmodified();
    context_.currentFilePath = path;
    SetDocumentName(path.string());
    RememberFile(path);
    const QString saved = QText(context_.text, "Pub", kPubSaved).arg(QString::fromStdString(path.string()));
    frame_.Window().statusBar()->showMessage(saved);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Export, channel sheet, import

bool DocumentCommands::OnFileExport()
{
    frame_.Windows().CommitPendingEdits();
    CDialog_Exchange choose(context_.text, CDialog_Exchange::Mode::Export, exchangeKind_, &frame_.Window());
    frame_.RunDialog(choose);
    if (choose.result() != QDialog::Accepted)
        return false;
    exchangeKind_ = choose.Kind();
    const QString chosen =
        frame_.Prompts().AskSavePath(&frame_.Window(), ExchangeFilters(context_.text, exchangeKind_));
    if (chosen.isEmpty())
        return false;
    const FileResult written = WriteExport(context_.codeplug, exchangeKind_, ToPath(chosen));
    if (!written.ok()) {
        frame_.ShowMessage(QText(context_.text, kExchange, kExportFailed) + "\n" + chosen + "\n" +
                               QString::fromStdString(written.detail),
                           QMessageBox::Critical);
        return false;
    }
    frame_.Window().statusBar()->showMessage(QText(context_.text, kExchange, kExported).arg(chosen));
    return true;
}

ChannelSheet DocumentCommands::Sheet() const { return BuildChannelSheet(context_.codeplug, context_.text); }

void DocumentCommands::OnFilePrint()
{
    frame_.Windows().CommitPendingEdits();
    const ChannelSheet sheet = Sheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(LocalPaperSize()), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    printer.setDocName(QString::fromStdString(sheet.title));
    QPrintPreviewDialog preview(&printer, &frame_.Window());
    preview.setWindowTitle(frame_.MenuText(kMenuPrint).remove('&').remove(QStringLiteral("...")));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { PaintChannelSheet(*target, sheet); });
    // Room for a whole page beside the preview's tools, within the screen.
    const QScreen* shown = frame_.Window().screen();
    const QRect screen = shown != nullptr ? shown->availableGeometry() : QRect(0, 0, 1366, 728);
    preview.resize(QSize(1000, 900).boundedTo(screen.size() - QSize(16, 48)));
    frame_.RunDialog(preview);
}

bool DocumentCommands::OnFileExportPdf()
{
    frame_.Windows().CommitPendingEdits();
    QStringList filters;
    for (const std::string& filter : FileDialogFilters(context_.text.GetText("Sheet", kSheetFilter)))
        filters << QString::fromStdString(filter);
    // Beside the codeplug's file, named after it; for a codeplug without a file, in the folder last used.
    std::filesystem::path proposed = context_.currentFilePath;
    if (proposed.empty() || SaveNeedsName(proposed, context_.DataDirectory()))
        proposed = (recentFiles_.LastFolder().empty() ? std::filesystem::path(QDir::homePath().toStdString())
                                                       : recentFiles_.LastFolder()) /
                   (backups::SerialForFileName(context_.codeplug) + ".pdf");
    else
        proposed.replace_extension(".pdf");
    const QString chosen =
        frame_.Prompts().AskSavePath(&frame_.Window(), filters, QString::fromStdString(proposed.string()));
    if (chosen.isEmpty())
        return false;
    const QByteArray pdf = ChannelSheetPdf(Sheet(), LocalPaperSize());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pdf.constData());
    const FileResult written = ReplaceFileContents(ToPath(chosen), std::span(bytes, static_cast<std::size_t>(pdf.size())));
    if (!written.ok()) {
        frame_.ShowMessage(QText(context_.text, "Sheet", kSheetFailed) + "\n" + chosen + "\n" +
                               QString::fromStdString(written.detail),
                           QMessageBox::Critical);
        return false;
    }
    frame_.Window().statusBar()->showMessage(QText(context_.text, "Sheet", kSheetWritten).arg(chosen));
    return true;
}

bool DocumentCommands::OnFileImport()
{
    frame_.Windows().CommitPendingEdits();
    CDialog_Exchange choose(context_.text, CDialog_Exchange::Mode::Import, exchangeKind_, &frame_.Window());
    frame_.RunDialog(choose);
    if (choose.result() != QDialog::Accepted)
        return false;
    exchangeKind_ = choose.Kind();
    const QStringList files =
        frame_.Prompts().AskOpenPaths(&frame_.Window(), ExchangeFilters(context_.text, exchangeKind_));
    if (files.isEmpty())
        return false;
    const QString file = files.first();
    if (PreviewsImport(exchangeKind_)) {
        if (!ImportWithPreview(file))
            return false;
    } else {
        // ImportFile changes the codeplug only when the whole file is good.
        const ImportOutcome outcome = ImportFile(ToPath(file), exchangeKind_, context_.codeplug);
        if (!outcome.imported()) {
            ShowImportOutcome(outcome, file);
            return false;
        }
    }
    // One step, shown in every open form; counts may have changed: as after a read or Open.
    NoteChange(nullptr, ChangeName{EditKey::Import, 0, 0, QFileInfo(file).fileName().toStdString()});
    frame_.RebuildTree();
    history_.Amend(CaptureDocument(context_));
    UpdateEditActions();
    frame_.Window().statusBar()->showMessage(QText(context_.text, kExchange, kImported).arg(file));
    return true;
}

bool DocumentCommands::ImportWithPreview(const QString& file)
{
    ImportPlan plan;
    const ImportOutcome read = ReadImportPlan(ToPath(file), exchangeKind_, plan);
    if (!read.imported()) {
        ShowImportOutcome(read, file);
        return false;
    }
    // The preview changes the codeplug only on Import, and only when the whole import is good.
    CDialog_ImportPreview preview(context_.text, file, std::move(plan), DefaultImportMode(exchangeKind_),
                                  context_.codeplug, &frame_.Window());
    frame_.RunDialog(preview);
    return preview.result() == QDialog::Accepted;
}

void DocumentCommands::ShowImportOutcome(const ImportOutcome& outcome, const QString& file)
{
    using Status = ImportOutcome::Status;
    if (outcome.status == Status::Refused) {
        CDialog_ImportProblems problems(context_.text, file, outcome.problems, &frame_.Window());
        frame_.RunDialog(problems);
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
    QString message = QText(context_.text, kExchange, key) + "\n" + file;
    if (!outcome.detail.empty())
        message += "\n" + QString::fromStdString(outcome.detail);
    frame_.ShowMessage(message + "\n\n" + QText(context_.text, kExchange, kNothingChanged), QMessageBox::Warning);
}
