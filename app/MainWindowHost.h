#pragma once
// What the document and radio commands need of the main window: the window their dialogs and
// messages belong to, its forms, tree and texts. The main window implements it, so the commands
// know this interface and not the window, and the window's file needs them without a circle.
#include <QString>

class DocumentCommands;
class FormWindows;
class IUserPrompts;
class QAction;
class QDialog;
class QMainWindow;

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual QMainWindow& Window() = 0;  // the dialogs' parent; its title, status bar and screen
    virtual FormWindows& Windows() const = 0;
    virtual DocumentCommands& Documents() const = 0;
    virtual IUserPrompts& Prompts() const = 0;
    virtual void RunDialog(QDialog& dialog) const = 0;
    virtual void ShowMessage(const QString& text, int icon) = 0;
    virtual QString Caption() const = 0;
    virtual QString MenuText(int key) const = 0;  // a label of section "Menu" of the menu bar's language
    virtual QAction* CommandAction(int command) const = 0;
    virtual void RebuildTree() = 0;
};
