#include "app/CDialog_ImportPreview.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/QtText.h"
#include "forms/Wording.h"

namespace {

constexpr const char* kSection = "ImportPreview";
constexpr int kTitle = 0;
constexpr int kIntro = 1;        // %1 file, %2 format, %3 rows
constexpr int kFirstColumn = 2;  // No., Kind, Name, Details, Result
constexpr int kModeGroup = 7;
constexpr int kAppend = 8;
constexpr int kReplace = 9;
constexpr int kTickFitting = 10;
constexpr int kUntickAll = 11;
constexpr int kImport = 12;
constexpr int kCancel = 13;
constexpr int kSummary = 14;  // %1 stored, %2 rows
constexpr int kStoredAs = 15;  // %1 kind, %2 number
constexpr int kRefused = 16;
constexpr int kNotes = 17;
constexpr int kFirstKind = 20;  // in the order of PlanKind

enum Column { kNumber, kKind, kName, kDetails, kResult, kColumns };

}  // namespace

// What the import says (reasons, notes), in the language of the interface.
QString Worded(const TextCatalogue& text, const std::string& english)
{
    const bool chinese = text.KeyBase() == TextKeyBaseFor(UiLanguage::Chinese);
    return QString::fromStdString(InLanguage(english, chinese ? UiLanguage::Chinese : UiLanguage::English));
}

// The rows of the plan with their ticks and fates; a tick changed here calls `changed`.
class PreviewModel : public QAbstractTableModel {
public:
    PreviewModel(const TextCatalogue& text, const ImportPlan& plan, std::vector<bool>& chosen,
                 std::function<void()> changed, QObject* parent)
        : QAbstractTableModel(parent), text_(text), plan_(plan), chosen_(chosen), changed_(std::move(changed))
    {
    }

    void SetFates(std::vector<RowFate> fates)
    {
        fates_ = std::move(fates);
        if (!plan_.rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(plan_.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QText(text_, kSection, kFirstColumn + section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    // A row that cannot be stored whatever is chosen is shown disabled, without a tick box.
    bool Refused(std::size_t r) const { return r < fates_.size() && fates_[r].refused; }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags flags = Qt::ItemIsSelectable;
        if (!Refused(static_cast<std::size_t>(index.row())))
            flags |= Qt::ItemIsEnabled | (index.column() == kNumber ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
        return flags;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto r = static_cast<std::size_t>(index.row());
        const PlanRow& row = plan_.rows.at(r);
        const bool chosen = r < chosen_.size() && chosen_[r];
        if (role == Qt::CheckStateRole && index.column() == kNumber)
            return chosen ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            switch (index.column()) {
            case kNumber: return QString::number(row.number);
            case kKind: return QText(text_, kSection, kFirstKind + static_cast<int>(row.kind));
            case kName: return QString::fromStdString(row.name);
            case kDetails: return QString::fromStdString(row.details);
            case kResult: return Result(r, chosen, role == Qt::ToolTipRole);
            }
        }
        if (role == Qt::ForegroundRole && index.column() == kResult && r < fates_.size() && (chosen || Refused(r)))
            return QBrush(fates_[r].stored ? Qt::darkGreen : Qt::darkRed);
        return {};
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::CheckStateRole || index.column() != kNumber || !(flags(index) & Qt::ItemIsUserCheckable))
            return false;
        chosen_.at(static_cast<std::size_t>(index.row())) = value.toInt() == Qt::Checked;
        changed_();
        return true;
    }

private:
    const TextCatalogue& text_;
    const ImportPlan& plan_;
    std::vector<bool>& chosen_;
    std::function<void()> changed_;
    std::vector<RowFate> fates_;

    // Where a ticked row goes, or why it cannot go there; with the notes on the row as tip.
    QString Result(std::size_t r, bool chosen, bool withNotes) const
    {
        const PlanRow& row = plan_.rows[r];
        QString text;
        if (Refused(r))
            text = Worded(text_, fates_[r].reason);
        else if (chosen && r < fates_.size() && fates_[r].stored)
            text = QText(text_, kSection, kStoredAs)
                       .arg(QText(text_, kSection, kFirstKind + static_cast<int>(row.kind)))
                       .arg(row.kind == PlanKind::RadioId ? QString() : QString::number(fates_[r].index + 1));
        else if (chosen && r < fates_.size())
            text = Worded(text_, fates_[r].reason);
        if (!withNotes)
            return text;
        std::vector<std::string> notes = row.notes;
        if (chosen && r < fates_.size())
            notes.insert(notes.end(), fates_[r].notes.begin(), fates_[r].notes.end());
        for (const std::string& note : notes)
            text += "\n" + Worded(text_, note);
        return text;
    }
};

CDialog_ImportPreview::CDialog_ImportPreview(const TextCatalogue& text, const QString& file, ImportPlan plan,
                                             ImportMode mode, Codeplug& codeplug, QWidget* parent)
    : QDialog(parent), text_(text), plan_(std::move(plan)), codeplug_(codeplug)
{
    setObjectName(QStringLiteral("CDialog_ImportPreview"));
    setWindowTitle(QText(text, kSection, kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QText(text, kSection, kIntro)
                                 .arg(file, QString::fromStdString(plan_.format))
                                 .arg(plan_.rows.size()),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* modes = new QGroupBox(QText(text, kSection, kModeGroup), this);
    auto* modeRow = new QHBoxLayout(modes);
    append_ = new QRadioButton(QText(text, kSection, kAppend), modes);
    replace_ = new QRadioButton(QText(text, kSection, kReplace), modes);
    (mode == ImportMode::Append ? append_ : replace_)->setChecked(true);
    modeRow->addWidget(append_);
    modeRow->addWidget(replace_);
    modeRow->addStretch(1);
    layout->addWidget(modes);

    chosen_ = FittingRows(plan_, mode, codeplug_);
    model_ = new PreviewModel(text, plan_, chosen_, [this] { Refresh(); }, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("PreviewTable"));
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{kNumber, 70}, {kKind, 130}, {kName, 150}, {kDetails, 340}})
        table_->setColumnWidth(column, width);
    layout->addWidget(table_, 1);

    auto* tools = new QHBoxLayout;
    auto* tick = new QPushButton(QText(text, kSection, kTickFitting), this);
    auto* untick = new QPushButton(QText(text, kSection, kUntickAll), this);
    summary_ = new QLabel(this);
    tools->addWidget(tick);
    tools->addWidget(untick);
    tools->addStretch(1);
    tools->addWidget(summary_);
    layout->addLayout(tools);

    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("PreviewNotes"));
    notes_->setReadOnly(true);
    notes_->setMaximumHeight(fontMetrics().lineSpacing() * 4 + 12);
    QString notes;
    for (const std::string& note : plan_.notes)
        notes += "\n" + Worded(text, note);
    notes_->setPlainText(notes.isEmpty() ? QString() : QText(text, kSection, kNotes) + notes);
    notes_->setVisible(!notes.isEmpty());
    layout->addWidget(notes_);

    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton(QText(text, kSection, kImport), QDialogButtonBox::AcceptRole);
    buttons->addButton(QText(text, kSection, kCancel), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDialog_ImportPreview::Import);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tick, &QPushButton::clicked, this, [this] {
        chosen_ = FittingRows(plan_, Mode(), codeplug_);
        Refresh();
    });
    connect(untick, &QPushButton::clicked, this, [this] {
        chosen_.assign(plan_.rows.size(), false);
        Refresh();
    });
    connect(append_, &QRadioButton::toggled, this, [this] { Refresh(); });
    Refresh();
    resize(1240, 640);
}

CDialog_ImportPreview::~CDialog_ImportPreview() = default;

ImportMode CDialog_ImportPreview::Mode() const
{
    return append_->isChecked() ? ImportMode::Append : ImportMode::Replace;
}

void CDialog_ImportPreview::SetChosen(std::size_t row, bool chosen)
{
    model_->setData(model_->index(static_cast<int>(row), kNumber), chosen ? Qt::Checked : Qt::Unchecked,
                    Qt::CheckStateRole);
}

void CDialog_ImportPreview::Refresh()
{
    std::vector<RowFate> fates = FitPlan(plan_, chosen_, Mode(), codeplug_);
    const auto stored = std::count_if(fates.begin(), fates.end(), [](const RowFate& f) { return f.stored; });
    model_->SetFates(std::move(fates));
    summary_->setText(QText(text_, kSection, kSummary).arg(stored).arg(plan_.rows.size()));
    import_->setEnabled(stored > 0);
}

void CDialog_ImportPreview::Import()
{
    result_ = ApplyPlan(plan_, chosen_, Mode(), codeplug_);
    if (result_.problems.empty()) {
        accept();
        return;
    }
    QString text = QText(text_, kSection, kRefused);
    for (const std::string& problem : result_.problems)
        text += "\n" + Worded(text_, problem);
    notes_->setPlainText(text);
    notes_->setVisible(true);
}
