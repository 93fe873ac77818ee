#pragma once
// The base of every editing form. The main window creates a form through its factory, puts it
// in an MDI child window and calls OnInitialUpdate; indexed forms get OnInitialUpdate again
// whenever navigation raises them for another record.
//
// A form shows its record from the Codeplug in ShowRecord and writes every control back in
// Commit. Every control change runs Commit then ShowRecord (CommitThenShow); while ShowRecord
// fills the controls, their change signals are ignored.
#include <cstdint>

#include <QString>
#include <QWidget>

#include "app/NavigationState.h"

class CMainFrame;
class CVanticApp;
struct AppContext;
struct Codeplug;

class CFormBase : public QWidget {
    Q_OBJECT
public:
    // `textSection` is the catalogue section of the form's own texts.
    CFormBase(CVanticApp& app, FormKind kind, const char* textSection, QWidget* parent = nullptr);

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

protected:
    virtual void InitialiseControls() {}
    virtual void ShowRecord() = 0;
    virtual void Commit() {}

    // ShowRecord with the controls' change signals ignored.
    void Show();

    // A text of the form's own section, or of another section.
    QString Text(int key) const;
    QString Text(const char* section, int key) const;

    CVanticApp& App() const { return app_; }
    AppContext& Context() const;
    Codeplug& CodeplugImage() const;
    NavigationState& Navigation() const;
    CMainFrame* MainFrame() const;

    // The record the application holds for this form (0-based).
    std::uint32_t CurrentIndex() const;
    void SetCurrentIndex(std::uint32_t index);

    // For forms that name their own window.
    void SetFormTitle(const QString& title);

    // A message box with an OK button, asked through the main window's prompts.
    void ShowMessage(const QString& caption, const QString& text);

    // After the form changed the number of its records: sets the form's expansion flag (the
    // channel, scan-list and receive-group-list forms have one) and rebuilds the tree.
    void RequestTreeRebuild();

private:
    CVanticApp& app_;
    const FormKind kind_;
    const char* const section_;
    bool showing_ = false;
};
