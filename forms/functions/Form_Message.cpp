#include "forms/functions/Form_Message.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "codeplug/Records.h"
#include "forms/functions/MessageRules.h"
#include "ui/CMSFlexGrid.h"

namespace {
constexpr const char* kHeaderSection = "DMR_Contact";
constexpr int kHeaderNumber = 1;
constexpr int kHeaderText = 2;
constexpr int kTreeMessagesTitle = 26;
constexpr int kGridRows = static_cast<int>(kMessageSlots) + 1;
constexpr int kNumberTwips = 590;
constexpr int kTextTwips = 5000;
}  // namespace

Form_Message::Form_Message(FormContext& context, QWidget* parent) : CFormBase(context, FormKind::Message, "Tree", parent)
{
    grid_ = new CMSFlexGrid(this);
    grid_->SetCols(2);
    grid_->SetRows(kGridRows);
    grid_->SetFixedCols(1);
    grid_->SetColAlignment(0, Qt::AlignCenter);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->SetColWidthTwips(0, kNumberTwips);
    grid_->SetColWidthTwips(1, kTextTwips);
    const int width = 2 * grid_->frameWidth() + grid_->columnWidth(0) + grid_->columnWidth(1);
    const int height = 2 * grid_->frameWidth() + grid_->horizontalHeader()->sizeHint().height() +
                       (kGridRows - 1) * grid_->verticalHeader()->defaultSectionSize();
    grid_->setFixedSize(width, height);
    OnCommand(grid_, &CMSFlexGrid::CellClicked, &Form_Message::OnCellClicked);  // a click may open a new message

    editor_ = new QLineEdit(grid_->viewport());
    editor_->setObjectName(QStringLiteral("messageEditor"));
    LimitName(editor_, AliasField::kMaxMessageChars, AliasField::kMessageBytes);
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(grid_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
}

// The editor outlives the form's own part of the destruction; a focus change then must not
// reach a form that is half gone.
Form_Message::~Form_Message() { editor_->removeEventFilter(this); }

void Form_Message::InitialiseControls()
{
    SetFormTitle(Text(kTreeMessagesTitle));
    grid_->SetTextMatrix(0, 0, Text(kHeaderSection, kHeaderNumber));
    grid_->SetTextMatrix(0, 1, Text(kHeaderSection, kHeaderText));
    for (int row = 1; row < kGridRows; ++row)
        grid_->SetTextMatrix(row, 0, QString::asprintf("%02d", row));
}

void Form_Message::ShowRecord()
{
    Codeplug& codeplug = CodeplugImage();
    const std::uint32_t count = ShownMessageCount(codeplug);
    for (int row = 1; row < kGridRows; ++row) {
        const auto n = static_cast<std::size_t>(row - 1);
        grid_->SetTextMatrix(row, 1, n < count ? QString::fromStdString(MessageText(codeplug, n)) : QString());
    }
}

void Form_Message::Commit()
{
    if (editRow_ < 1)
        return;
    SetMessageText(CodeplugImage(), static_cast<std::size_t>(editRow_) - 1, editor_->text().toStdString());
}

void Form_Message::OnCellClicked(int row, int col)
{
    if (editRow_ >= 1 && !editor_->isHidden()) {  // a click that did not take the focus first
        CommitThenShow();
        editRow_ = 0;
        editor_->hide();
    }
    if (row < 1 || !OpenMessageRow(CodeplugImage(), row))
        return;
    if (col != 1) {
        editor_->hide();
        return;
    }
    editRow_ = row;
    editor_->setText(grid_->TextMatrix(row, 1));
    grid_->PlaceEditor(editor_, row, col);
    editor_->selectAll();
    editor_->setFocus();
}

bool Form_Message::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::FocusOut && editRow_ >= 1) {
        CommitThenShow();
        editRow_ = 0;
        editor_->hide();
    }
    return CFormBase::eventFilter(watched, event);
}
