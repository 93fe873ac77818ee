#pragma once
// File › Export and File › Import: the small dialog that asks what to export or import — the
// whole codeplug as JSON or one of the tables as CSV.
#include <map>

#include <QDialog>

#include "app/TextExchange.h"

class QRadioButton;
class TextCatalogue;

class CDialog_Exchange : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Export, Import };
    CDialog_Exchange(const TextCatalogue& text, Mode mode, ExchangeKind initial, QWidget* parent = nullptr);

    ExchangeKind Kind() const;
    // The button of a kind the dialog offers (an export offers no DMR user list).
    QRadioButton* KindButton(ExchangeKind kind) const { return buttons_.at(kind); }

private:
    std::map<ExchangeKind, QRadioButton*> buttons_;
};

// The text of a kind in the dialog ("Contacts (CSV)") and the filter list of its file dialogs.
QString ExchangeKindText(const TextCatalogue& text, ExchangeKind kind);
QStringList ExchangeFilters(const TextCatalogue& text, ExchangeKind kind);
