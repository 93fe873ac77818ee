#pragma once
// The window that says why an import was refused: every problem of the file (row, column and
// reason of a CSV table, JSON path and reason of a codeplug) in a list that scrolls.
#include <string>
#include <vector>

#include <QDialog>

#include "app/TextExchange.h"

class QLabel;
class QListWidget;
class TextCatalogue;

// A problem as one line in the language of the run: "row 3, column 4 (Receive frequency): why",
// "/analogChannels/records/2/name: why", the reasons worded in the run's language too.
QString ImportProblemText(const TextCatalogue& text, const ImportProblem& problem);

class CDialog_ImportProblems : public QDialog {
    Q_OBJECT
public:
    CDialog_ImportProblems(const TextCatalogue& text, const QString& file, const std::vector<ImportProblem>& problems,
                           QWidget* parent = nullptr);

    QListWidget* ProblemList() const { return list_; }
    QLabel* Summary() const { return summary_; }

private:
    QListWidget* list_ = nullptr;
    QLabel* summary_ = nullptr;
};
