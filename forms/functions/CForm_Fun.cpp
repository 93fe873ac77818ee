#include "forms/functions/CForm_Fun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/AppContext.h"
#include "codeplug/Records.h"

namespace {

// The check boxes of the middle column (alarms, mute and prompt tones); the lamps follow.
constexpr std::size_t kLampsFrom = static_cast<std::size_t>(FunFlag::TxLamp);

QString BuiltIn(const char* caption) { return QString::fromUtf8(caption); }

}  // namespace

CForm_Fun::CForm_Fun(FormContext& context) : CFormBase(context, FormKind::Fun, kFunTextSection)
{
    auto* listsBox = new QGroupBox(this);
    auto* listsGrid = new QGridLayout(listsBox);
    listsGrid->setColumnStretch(1, 1);
    listsGrid->setVerticalSpacing(10);
    for (std::size_t i = 0; i < kFunVisibleListCount; ++i) {
        const auto list = static_cast<FunList>(i);
        labels_[i] = new QLabel(BuiltIn(CaptionOf(list).builtIn), listsBox);
        lists_[i] = new QComboBox(listsBox);
        lists_[i]->setMaxVisibleItems(16);
        lists_[i]->setMinimumWidth(140);
        labels_[i]->setBuddy(lists_[i]);
        listsGrid->addWidget(labels_[i], static_cast<int>(i), 0);
        listsGrid->addWidget(lists_[i], static_cast<int>(i), 1);
        OnChange(lists_[i], &QComboBox::currentIndexChanged);
    }
    aliasLabel_ = new QLabel(BuiltIn(kAliasCaption.builtIn), listsBox);
    alias_ = new QLineEdit(listsBox);
    aliasLabel_->setBuddy(alias_);
    const int aliasRow = static_cast<int>(kFunVisibleListCount);
    listsGrid->addWidget(aliasLabel_, aliasRow, 0);
    listsGrid->addWidget(alias_, aliasRow, 1);
    listsGrid->setRowStretch(aliasRow + 1, 1);
    OnChange(alias_, &QLineEdit::editingFinished);

    auto* tonesBox = new QGroupBox(this);
    auto* tonesColumn = new QVBoxLayout(tonesBox);
    auto* lampsBox = new QGroupBox(this);
    auto* lampsColumn = new QVBoxLayout(lampsBox);
    for (std::size_t i = 0; i < kFunFlagCount; ++i) {
        QGroupBox* box = i < kLampsFrom ? tonesBox : lampsBox;
        flags_[i] = new QCheckBox(BuiltIn(CaptionOf(static_cast<FunFlag>(i)).builtIn), box);
        (i < kLampsFrom ? tonesColumn : lampsColumn)->addWidget(flags_[i]);
        OnChange(flags_[i], &QCheckBox::clicked);
    }
    tonesColumn->addStretch(1);
    lampsColumn->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);
    layout->addWidget(listsBox, 5);
    layout->addWidget(tonesBox, 3);
    layout->addWidget(lampsBox, 3);
}

void CForm_Fun::InitialiseControls()
{
    SetFormTitle(Text("Tree", 4));
    const TextCatalogue& text = Context().text;
    for (std::size_t i = 0; i < kFunVisibleListCount; ++i) {
        const auto list = static_cast<FunList>(i);
        lists_[i]->clear();
        for (const std::string& entry : FunListEntries(list, text))
            lists_[i]->addItem(QString::fromStdString(entry));
        if (const int key = CaptionOf(list).key; key != 0)
            labels_[i]->setText(Text(key));
    }
    for (std::size_t i = 0; i < kFunFlagCount; ++i)
        flags_[i]->setText(Text(CaptionOf(static_cast<FunFlag>(i)).key));
    aliasLabel_->setText(Text(kAliasCaption.key));
    LimitName(alias_, AliasField::kMaxChars, AliasField::kBytes);
}

void CForm_Fun::ShowRecord()
{
    shown_ = ShowFunctions(CodeplugImage());
    for (std::size_t i = 0; i < kFunVisibleListCount; ++i)
        lists_[i]->setCurrentIndex(shown_.lists[i]);
    for (std::size_t i = 0; i < kFunFlagCount; ++i)
        flags_[i]->setChecked(shown_.flags[i]);
    alias_->setText(QString::fromStdString(shown_.alias));
}

void CForm_Fun::Commit()
{
    FunctionValues values = shown_;
    for (std::size_t i = 0; i < kFunVisibleListCount; ++i)
        values.lists[i] = lists_[i]->currentIndex();
    for (std::size_t i = 0; i < kFunFlagCount; ++i)
        values.flags[i] = flags_[i]->isChecked();
    values.alias = alias_->text().toStdString();
    CommitFunctions(CodeplugImage(), values);
}
