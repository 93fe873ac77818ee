#pragma once
// The check before a write: what the rules found, errors first in the order of the file, each in
// the language of the interface, and the question whether to write anyway. A double-click on a
// finding closes the dialog without writing and asks for the form of the record it names.
#include <vector>

#include <QDialog>

#include "core/SystemSettings.h"
#include "forms/CodeplugCheck.h"

class QListWidget;
class TextCatalogue;

class CDialog_CheckFindings : public QDialog {
    Q_OBJECT
public:
    CDialog_CheckFindings(const TextCatalogue& text, UiLanguage language, const std::vector<CheckFinding>& findings,
                          QWidget* parent = nullptr);

    QListWidget* FindingList() const { return list_; }

signals:
    // The section id, 0-based record and field id of the finding double-clicked.
    void recordChosen(const QString& section, int record, const QString& field);

private:
    QListWidget* list_ = nullptr;
};
