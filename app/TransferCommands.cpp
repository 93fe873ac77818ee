#include "app/TransferCommands.h"

#include <QMainWindow>
#include <QStatusBar>

#include "app/CDialog_CheckFindings.h"
#include "app/MainWindowHost.h"
#include "app/UserPrompts.h"
#include "app/CVanticApp.h"
#include "app/DocumentCommands.h"
#include "app/FormWindows.h"
#include "core/Backups.h"
#include "forms/CodeplugCheck.h"
#include "link/CDIALOG_PassWord.h"
#include "link/CDialog_ADJ.h"
#include "link/CDialog_RadioInfo.h"
#include "link/CDialog_SetComPort.h"
#include "ui/QtText.h"

namespace {

constexpr int kPubReadTitle = 51;  // %1 the radio's serial number
constexpr int kPubReadDone = 54;   // %1 the serial number, %2 the port
constexpr int kPubBackup = 55;     // %1 the backup file
constexpr int kPubWritten = 56;    // %1 the port

}  // namespace

TransferCommands::TransferCommands(MainWindowHost& frame, CVanticApp& app)
    : QObject(&frame.Window()), frame_(frame), app_(app)
{
}

void TransferCommands::OnRadioInfo()
{
    CDialog_RadioInfo dialog(app_.Context(), &frame_.Window());
    frame_.RunDialog(dialog);
}

void TransferCommands::OnSetPort()
{
    CDialog_SetComPort dialog(app_.Context(), {}, &frame_.Window());
    frame_.RunDialog(dialog);
}

void TransferCommands::OnPasswordSet()
{
    CDIALOG_PassWord dialog(app_.Context(), app_.Link(), &frame_.Window());
    frame_.RunDialog(dialog);
}

void TransferCommands::OnAdjustValue()
{
    CDialog_ADJ dialog(app_.Context(), app_.Link(), &frame_.Window());
    frame_.RunDialog(dialog);
}

void TransferCommands::OnRead()
{
    if (!frame_.Documents().AskToSaveChanges())
        return;
    frame_.Windows().CloseAllForms();
    RunTransferDialog(CDialog_RW::Mode::Read);
}

void TransferCommands::OnWrite()
{
    frame_.Windows().CloseAllForms();
    if (!CheckBeforeWrite())
        return;
    RunTransferDialog(CDialog_RW::Mode::Write);
}

bool TransferCommands::CheckBeforeWrite()
{
    const AppContext& context = app_.Context();
    const std::vector<CheckFinding> findings = CheckCodeplug(context.codeplug);
    if (CountErrors(findings) == 0)
        return true;
    CDialog_CheckFindings dialog(context.text, context.language, findings, &frame_.Window());
    connect(&dialog, &CDialog_CheckFindings::recordChosen, &frame_.Windows(), &FormWindows::OpenRecordForm);
    frame_.RunDialog(dialog);
    return dialog.result() == QDialog::Accepted;
}

void TransferCommands::RunTransferDialog(CDialog_RW::Mode mode)
{
    AppContext& context = app_.Context();
    CDialog_RW dialog(context, app_.Link(), app_.Transfer(), mode, &frame_.Window());
    frame_.RunDialog(dialog);
    const bool done = dialog.result() == QDialog::Accepted;
    const QString port = QStringLiteral("COM%1").arg(context.settings.portNumber());
    if (mode != CDialog_RW::Mode::Read || !done) {
        frame_.Documents().NoteChange(nullptr);  // a write may give the radio ID a step up
        frame_.RebuildTree();
        if (mode == CDialog_RW::Mode::Write && done)
            frame_.Window().statusBar()->showMessage(QText(context.text, "Pub", kPubWritten).arg(port));
        return;
    }
    // Every successful read is also kept, exactly as read, as a backup under the user's data
    // directory.
    const backups::Result backup = backups::Save(context.codeplug, backups::Directory());
    if (!backup.ok) {
        // Without a backup the data read exist only here: they stay as unsaved changes, so
        // closing the window or opening another file asks to save them.
        frame_.ShowMessage(QText(context.text, "Text_Str", 3) + "\n" + QString::fromStdString(backup.error) + "\n\n" +
                               QText(context.text, "Text_Str", 5),
                           QMessageBox::Warning);
    }
    const QString serial = QString::fromStdString(backups::SerialForFileName(context.codeplug));
    frame_.Documents().AfterRead(QText(context.text, "Pub", kPubReadTitle).arg(serial).toStdString(), backup.ok);
    QString message = QText(context.text, "Pub", kPubReadDone).arg(serial, port);
    if (backup.ok)
        message += "  " + QText(context.text, "Pub", kPubBackup).arg(QString::fromStdString(backup.path.string()));
    frame_.Window().statusBar()->showMessage(message);
}
