#pragma once
// The questions the main window asks the user, behind an interface so that the commands can be
// driven without modal dialogs. CDialogPrompts asks with the real dialogs.
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;

    // The files chosen in the open dialog (existing files, several allowed); empty when cancelled.
    virtual QStringList AskOpenPaths(QWidget* parent, const QStringList& filters) = 0;
    // The file chosen in the save dialog (overwrite confirmed); empty when cancelled. A
    // `proposed` path opens the dialog in its folder with its name filled in.
    virtual QString AskSavePath(QWidget* parent, const QStringList& filters, const QString& proposed = {}) = 0;
    // Yes, No or Cancel; Cancel is the default button.
    virtual QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& caption,
                                                       const QString& text) = 0;
    // A message with a single OK button.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                             QMessageBox::Icon icon) = 0;
};

class CDialogPrompts : public IUserPrompts {
public:
    QStringList AskOpenPaths(QWidget* parent, const QStringList& filters) override;
    QString AskSavePath(QWidget* parent, const QStringList& filters, const QString& proposed = {}) override;
    QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon) override;

private:
    QString lastDirectory_;  // the folder of the last file chosen in this run
};
