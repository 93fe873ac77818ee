#include "app/CDialog_Exchange.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/FileCommands.h"
#include "ui/QtText.h"
#include "core/TextCatalogue.h"

namespace {

constexpr const char* kSection = "TextExchange";
constexpr int kExportTitle = 0;
constexpr int kImportTitle = 1;
constexpr int kExportLabel = 2;
constexpr int kImportLabel = 3;
constexpr int kFirstKind = 10;  // the kinds in the order of kExchangeKinds
constexpr int kJsonFilter = 20;
constexpr int kCsvFilter = 21;
constexpr int kYamlFilter = 22;

}  // namespace

QString ExchangeKindText(const TextCatalogue& text, ExchangeKind kind)
{
    return QText(text, kSection, kFirstKind + static_cast<int>(kind));
}

QStringList ExchangeFilters(const TextCatalogue& text, ExchangeKind kind)
{
    QStringList filters;
    const std::string_view suffix = ExchangeSuffix(kind);
    const int key = suffix == "json" ? kJsonFilter : suffix == "yaml" ? kYamlFilter : kCsvFilter;
    for (const std::string& filter : FileDialogFilters(text.GetText(kSection, key)))
        filters << QString::fromStdString(filter);
    return filters;
}

CDialog_Exchange::CDialog_Exchange(const TextCatalogue& text, Mode mode, ExchangeKind initial, QWidget* parent)
    : QDialog(parent)
{
    const bool exporting = mode == Mode::Export;
    setObjectName(QStringLiteral("CDialog_Exchange"));
    setWindowTitle(QText(text, kSection, exporting ? kExportTitle : kImportTitle));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QText(text, kSection, exporting ? kExportLabel : kImportLabel), this);
    auto* choices = new QVBoxLayout(group);
    for (const ExchangeKind kind : kExchangeKinds) {
        if (exporting && !CanExport(kind))
            continue;
        auto* button = new QRadioButton(ExchangeKindText(text, kind), group);
        button->setChecked(kind == initial);
        choices->addWidget(button);
        buttons_[kind] = button;
    }
    if (buttons_.count(initial) == 0)  // the last import's kind is not one an export offers
        buttons_.at(ExchangeKind::WholeJson)->setChecked(true);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

ExchangeKind CDialog_Exchange::Kind() const
{
    for (const auto& [kind, button] : buttons_) {
        if (button->isChecked())
            return kind;
    }
    return ExchangeKind::WholeJson;
}
