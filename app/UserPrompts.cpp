#include "app/UserPrompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeView>
#include <QScreen>

namespace {

constexpr const char* kCodeplugSuffix = "VNTX";

void PrepareFileDialog(QFileDialog& dialog, const QStringList& filters, const QString& directory)
{
    // The suffix a typed name gets is the first filter's ("Contacts (*.csv)"): codeplug files
    // unless the command deals in other files.
    const QRegularExpressionMatch first = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filters.value(0));
    dialog.setDefaultSuffix(first.hasMatch() ? first.captured(1) : QString::fromLatin1(kCodeplugSuffix));
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!directory.isEmpty())
        dialog.setDirectory(directory);
    // Large enough for the name, size, type and date columns, within the screen.
    QSize size(900, 560);
    if (const QScreen* screen = dialog.screen() != nullptr ? dialog.screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    dialog.resize(size);
    // Qt's own dialog: the name takes the room left by the size, type and date columns.
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

}  // namespace

QStringList CDialogPrompts::AskOpenPaths(QWidget* parent, const QStringList& filters)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    PrepareFileDialog(dialog, filters, lastDirectory_);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        lastDirectory_ = QFileInfo(files.first()).absolutePath();
    return files;
}

QString CDialogPrompts::AskSavePath(QWidget* parent, const QStringList& filters, const QString& proposed)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    PrepareFileDialog(dialog, filters, proposed.isEmpty() ? lastDirectory_ : QFileInfo(proposed).absolutePath());
    if (!proposed.isEmpty())
        dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().first();
    lastDirectory_ = QFileInfo(file).absolutePath();
    return file;
}

QMessageBox::StandardButton CDialogPrompts::AskYesNoCancel(QWidget* parent, const QString& caption,
                                                           const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void CDialogPrompts::ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}
