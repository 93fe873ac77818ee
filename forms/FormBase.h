#pragma once
// The base of every editing form. The main window creates a form through its factory, puts it
// in an MDI child window and calls OnInitialUpdate; indexed forms get OnInitialUpdate again
// whenever navigation raises them for another record.
//
// A form shows its record from the Codeplug in ShowRecord and writes every control back in
// Commit. Every control change runs Commit then ShowRecord (CommitThenShow); while ShowRecord
// fills the controls, their change signals are ignored.
//
// Every command that may change the codeplug (or the tables the program holds for the run) runs
// inside an EditScope: CommitThenShow does, and so does every command connected with OnCommand.
// When the outermost scope ends the form emits codeplugEdited once, and the main window marks
// the document changed, records an undo step and shows the change in every other open form.
//
// A form never reaches into the main window: what it needs of the rest of the program (a tree
// rebuild, other forms closed or shown afresh, a message box) it asks for by a signal, which the
// main window connects when it creates the form.
#include <cstdint>

#include <QString>
#include <QWidget>

#include "core/AppContext.h"
#include "core/NavigationState.h"

class QLabel;
class QLineEdit;

// What a form needs of the program, handed to it when it is created: the application context
// (codeplug, texts, language, the tables held for the run) and the navigation state (the current
// record and title of each form).
struct FormContext {
    AppContext& app;
    NavigationState& navigation;
};

class CFormBase : public QWidget {
    Q_OBJECT
public:
    // `textSection` is the catalogue section of the form's own texts.
    CFormBase(FormContext& context, FormKind kind, const char* textSection, QWidget* parent = nullptr);

    FormKind Kind() const { return kind_; }

    // Fills captions and lists (InitialiseControls), then shows the current record.
    virtual void OnInitialUpdate();

    // Connects a change signal of a control to CommitThenShow.
    template <typename Sender, typename Signal>
    void OnChange(Sender* control, Signal signal)
    {
        connect(control, signal, this, [this] { CommitThenShow(); });
    }

    void CommitThenShow();
    bool IsShowing() const { return showing_; }

    class EditScope {
    public:
        explicit EditScope(CFormBase& form) : form_(form) { ++form_.editDepth_; }
        ~EditScope();
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        CFormBase& form_;
    };

    // Connects a signal of a control to a command of the form, run inside an EditScope.
    template <typename Sender, typename Signal, typename Form, typename... Args>
    void OnCommand(Sender* control, Signal signal, void (Form::*command)(Args...))
    {
        connect(control, signal, this, [this, command](Args... args) {
            const EditScope edit(*this);
            (static_cast<Form*>(this)->*command)(args...);
        });
    }

protected:
    virtual void InitialiseControls() {}
    virtual void ShowRecord() = 0;
    virtual void Commit() {}

    // ShowRecord with the controls' change signals ignored.
    void Show();

    // A text of the form's own section, or of another section.
    QString Text(int key) const;
    QString Text(const char* section, int key) const;

    AppContext& Context() const;
    Codeplug& CodeplugImage() const;
    NavigationState& Navigation() const;

    // The record the application holds for this form (0-based).
    std::uint32_t CurrentIndex() const;
    void SetCurrentIndex(std::uint32_t index);

    // For forms that name their own window.
    void SetFormTitle(const QString& title);

    // Makes a name box stop at the longest name its field holds: at most `maxChars` characters
    // and `fieldBytes` bytes as the radio stores them (blanks trimmed first unless `asTyped`).
    void LimitName(QLineEdit* box, std::size_t maxChars, std::size_t fieldBytes, bool asTyped = false);

    // The line that tells the user that the form's values live only while the program runs
    // (they are neither saved nor written to the radio); the form puts it in its layout.
    QLabel* NewRunOnlyNote();

    // A message box with an OK button and the warning icon (a form speaks up only to refuse a
    // change), through messageRequested when it is connected.
    void ShowMessage(const QString& caption, const QString& text);

    // After the form changed the number of its records: sets the form's expansion flag (the
    // channel, scan-list and receive-group-list forms have one) and asks for a tree rebuild.
    void RequestTreeRebuild();

signals:
    // The form may have changed the codeplug or the tables held for the run.
    void codeplugEdited();
    void messageRequested(const QString& caption, const QString& text);
    void treeRebuildRequested();
    // Another form whose lists this form's change made stale is to be closed / shown afresh.
    void formCloseRequested(FormKind kind);
    void zoneAndScanRefreshRequested();

private:
    FormContext& context_;
    const FormKind kind_;
    const char* const section_;
    bool showing_ = false;
    int editDepth_ = 0;
};
