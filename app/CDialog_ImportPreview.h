#pragma once
// The preview of an import from another program's file: every row of the file with a tick when
// it is to be stored and what becomes of it (the record it goes to, or why it cannot be stored).
// The user ticks the rows and chooses to add or replace; nothing changes before Import, and
// Import changes the codeplug only when the whole import is good (otherwise the dialog stays
// open and says why).
#include <functional>
#include <vector>

#include <QDialog>

#include "codeplug/Codeplug.h"
#include "forms/foreign/ImportPlan.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TextCatalogue;
class PreviewModel;

class CDialog_ImportPreview : public QDialog {
    Q_OBJECT
public:
    CDialog_ImportPreview(const TextCatalogue& text, const QString& file, ImportPlan plan, ImportMode mode,
                          Codeplug& codeplug, QWidget* parent = nullptr);
    ~CDialog_ImportPreview() override;

    // For the window test and the caller.
    QTableView* Table() const { return table_; }
    QRadioButton* ModeButton(ImportMode mode) const { return mode == ImportMode::Append ? append_ : replace_; }
    QPushButton* ImportButton() const { return import_; }
    QLabel* Summary() const { return summary_; }
    QPlainTextEdit* Notes() const { return notes_; }
    void SetChosen(std::size_t row, bool chosen);
    const ImportResult& Result() const { return result_; }

private:
    void Refresh();
    void Import();
    ImportMode Mode() const;

    const TextCatalogue& text_;
    ImportPlan plan_;
    Codeplug& codeplug_;
    std::vector<bool> chosen_;
    PreviewModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QRadioButton* append_ = nullptr;
    QRadioButton* replace_ = nullptr;
    QPushButton* import_ = nullptr;
    QLabel* summary_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    ImportResult result_;
};
