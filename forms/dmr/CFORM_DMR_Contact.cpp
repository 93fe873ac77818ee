#include "forms/dmr/CFORM_DMR_Contact.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/QtText.h"
#include "core/TextCatalogue.h"
#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/dmr/ContactRules.h"
#include "ui/CMSFlexGrid.h"

namespace {

enum Key {
    kTitle = 0,
    kHeaderNumber = 1,
    kHeaderName = 2,
    kHeaderCallType = 3,
    kHeaderId = 4,
    kAdd = 5,
    kDelete = 6,
    kGroupCall = 10,
    kPrivateCall = 11,
    kAllCall = 12,
    kDuplicateId = 31,
    kNewName = 32,
};

enum Column { kColNumber = 0, kColName = 1, kColCallType = 2, kColId = 3 };
constexpr int kColumnTwips[] = {590, 2000, 1200, 1200};
constexpr int kRows = static_cast<int>(contacts::kMaxContacts) + 1;

// Texts the program carries itself rather than the catalogue.
const QString kAllCallExists = QStringLiteral("全呼已存在");
const QString kAllCallExistsCaption = QStringLiteral("提示");

// The grid as wide as its columns and a vertical scroll bar, so no empty band shows at its right.
void FitWidthToColumns(CMSFlexGrid* grid)
{
    int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < grid->Cols(); ++col)
        width += grid->columnWidth(col);
    grid->setFixedWidth(width);
}

}  // namespace

CFORM_DMR_Contact::CFORM_DMR_Contact(FormContext& context, QWidget* parent)
    : CFormBase(context, FormKind::DmrContact, "DMR_Contact", parent)
{
    grid_ = new CMSFlexGrid(this);
    grid_->SetRows(kRows);
    grid_->SetCols(4);
    grid_->SetFixedCols(1);

    nameEdit_ = new QLineEdit(grid_);
    LimitName(nameEdit_, contacts::kNameChars, AliasField::kBytes, true);
    typeList_ = new QComboBox(grid_);
    idEdit_ = new QLineEdit(grid_);
    idEdit_->setMaxLength(static_cast<int>(contacts::kIdChars));
    idEdit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), idEdit_));
    for (QWidget* editor : {static_cast<QWidget*>(nameEdit_), static_cast<QWidget*>(typeList_),
                            static_cast<QWidget*>(idEdit_)}) {
        grid_->PlaceEditor(editor, 1, 1);  // registers the editor with the grid
        editor->installEventFilter(this);
    }
    grid_->HideEditors();

    addButton_ = new QPushButton(this);
    deleteButton_ = new QPushButton(this);
    addButton_->setMinimumWidth(110);
    deleteButton_->setMinimumWidth(110);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addButton_);
    buttons->addWidget(deleteButton_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(grid_, &CMSFlexGrid::CellClicked, this, &CFORM_DMR_Contact::ClickCell);
    connect(typeList_, &QComboBox::currentIndexChanged, this, [this](int position) {
        const EditScope edit(*this);
        if (!IsShowing())
            CommitCallType(position);
    });
    OnCommand(addButton_, &QPushButton::clicked, &CFORM_DMR_Contact::OnAdd);
    OnCommand(deleteButton_, &QPushButton::clicked, &CFORM_DMR_Contact::OnDelete);
}

void CFORM_DMR_Contact::InitialiseControls()
{
    SetFormTitle(Text(kTitle));
    for (int col = 0; col < 4; ++col) {
        grid_->SetColWidthTwips(col, kColumnTwips[col]);
        grid_->SetTextMatrix(0, col, Text(kHeaderNumber + col));
    }
    FitWidthToColumns(grid_);
    grid_->SetColAlignment(kColNumber, Qt::AlignCenter);
    for (int row = 1; row < kRows; ++row)
        grid_->SetTextMatrix(row, kColNumber, QString::asprintf("%02d", row));
    typeList_->clear();
    typeList_->addItems({Text(kGroupCall), Text(kPrivateCall), Text(kAllCall)});
    addButton_->setText(Text(kAdd));
    deleteButton_->setText(Text(kDelete));
}

void CFORM_DMR_Contact::ShowRecord()
{
    Codeplug& codeplug = CodeplugImage();
    contacts::RepairForShow(codeplug);
    const std::size_t count = contacts::Count(codeplug);
    for (int row = 1; row < kRows; ++row) {
        const auto n = static_cast<std::size_t>(row - 1);
        if (n >= count) {
            for (int col = 0; col < 4; ++col)
                grid_->SetTextMatrix(row, col, QString());
            continue;
        }
        grid_->SetTextMatrix(row, kColNumber, QString::number(row));
        grid_->SetTextMatrix(row, kColName, QString::fromStdString(contacts::Name(codeplug, n)));
        const std::uint8_t type = contacts::CallType(codeplug, n);
        grid_->SetTextMatrix(row, kColCallType, type <= ContactField::kAllCall ? Text(kGroupCall + type) : QString());
        grid_->SetTextMatrix(row, kColId, QString::fromStdString(contacts::IdText(codeplug, n)));
    }
}

void CFORM_DMR_Contact::ClickCell(int row, int col)
{
    const Codeplug& codeplug = CodeplugImage();
    const auto count = static_cast<int>(contacts::Count(codeplug));
    grid_->HideEditors();
    namePending_ = idPending_ = false;
    if (row < 1 || col < 1 || row > count)
        return;
    editRow_ = row;
    const auto n = static_cast<std::size_t>(row - 1);
    switch (col) {
    case kColName:
        nameEdit_->setText(grid_->TextMatrix(row, col));
        grid_->PlaceEditor(nameEdit_, row, col);
        nameEdit_->selectAll();
        nameEdit_->setFocus();
        namePending_ = true;
        break;
    case kColCallType: {
        const QSignalBlocker quiet(typeList_);
        const std::uint8_t type = contacts::CallType(codeplug, n);
        typeList_->setCurrentIndex(type <= ContactField::kAllCall ? type : -1);
        grid_->PlaceEditor(typeList_, row, col);
        typeList_->setFocus();
        break;
    }
    case kColId:
        if (contacts::CallType(codeplug, n) >= ContactField::kAllCall)
            break;
        idEdit_->setText(grid_->TextMatrix(row, col));
        grid_->PlaceEditor(idEdit_, row, col);
        idEdit_->selectAll();
        idEdit_->setFocus();
        idPending_ = true;
        break;
    default: break;
    }
}

bool CFORM_DMR_Contact::eventFilter(QObject* watched, QEvent* event)
{
    const bool leaves = event->type() == QEvent::FocusOut;
    const bool enter = event->type() == QEvent::KeyPress &&
                       (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (leaves || enter) {
        const EditScope edit(*this);
        if (watched == nameEdit_ && namePending_)
            CommitName();
        else if (watched == idEdit_ && idPending_)
            CommitId();
        if (enter && (watched == nameEdit_ || watched == idEdit_))
            return true;
    }
    return CFormBase::eventFilter(watched, event);
}

void CFORM_DMR_Contact::CommitName()
{
    namePending_ = false;
    if (contacts::CommitName(CodeplugImage(), static_cast<std::size_t>(editRow_ - 1), ToStd(nameEdit_->text())))
        AfterChange();
}

void CFORM_DMR_Contact::CommitCallType(int position)
{
    if (position < 0)
        return;
    switch (contacts::CommitCallType(CodeplugImage(), static_cast<std::size_t>(editRow_ - 1),
                                     static_cast<std::uint8_t>(position))) {
    case contacts::CallTypeResult::AllCallExists: {
        ShowMessage(kAllCallExistsCaption, kAllCallExists);
        const QSignalBlocker quiet(typeList_);
        const std::size_t n = static_cast<std::size_t>(editRow_ - 1);
        if (n < contacts::Count(CodeplugImage()))
            typeList_->setCurrentIndex(contacts::CallType(CodeplugImage(), n));
        break;
    }
    case contacts::CallTypeResult::Changed: AfterChange(); break;
    case contacts::CallTypeResult::Refused: break;
    }
}

void CFORM_DMR_Contact::CommitId()
{
    idPending_ = false;
    switch (contacts::CommitId(CodeplugImage(), static_cast<std::size_t>(editRow_ - 1), ToStd(idEdit_->text()))) {
    case contacts::IdResult::Duplicate:
        ShowMessage(Text("Pub", 10), Text(kDuplicateId));
        idPending_ = true;
        if (idEdit_->isVisible()) {
            idEdit_->setFocus();
            idEdit_->selectAll();
        }
        break;
    case contacts::IdResult::Stored: AfterChange(); break;
    case contacts::IdResult::Refused: break;
    }
}

void CFORM_DMR_Contact::OnAdd()
{
    Codeplug& codeplug = CodeplugImage();
    const auto number = static_cast<int>(contacts::Count(codeplug)) + 1;
    const std::string name = FormatNumbered(ToStd(Text(kNewName)), number);
    if (contacts::Add(codeplug, name))
        AfterChange();
    else
        Show();
}

void CFORM_DMR_Contact::OnDelete()
{
    const int row = grid_->MouseRow();
    if (row < 1 || row > static_cast<int>(contacts::Count(CodeplugImage())))
        return;
    contacts::Delete(CodeplugImage(), static_cast<std::size_t>(row - 1));
    AfterChange();
}

void CFORM_DMR_Contact::AfterChange()
{
    grid_->HideEditors();
    namePending_ = idPending_ = false;
    for (FormKind stale : {FormKind::DmrRxGrpList, FormKind::Key, FormKind::DigitalChannel})
        emit formCloseRequested(stale);
    Show();
}
