#include "forms/functions/CForm_VOX.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>


namespace {

QString BuiltIn(const char* caption) { return QString::fromUtf8(caption); }

void Fill(QComboBox* list, const std::vector<std::string>& entries)
{
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(QString::fromStdString(entry));
}

}  // namespace

CForm_VOX::CForm_VOX(FormContext& context) : CFormBase(context, FormKind::Vox, "VOX")
{
    setWindowTitle(QStringLiteral("VOX"));
    auto addList = [this](QGroupBox* group, QFormLayout* form, const char* caption, QLabel*& label) {
        auto* list = new QComboBox(group);
        list->setMinimumWidth(90);
        list->setMaxVisibleItems(20);
        label = new QLabel(BuiltIn(caption), group);
        form->addRow(label, list);
        OnChange(list, &QComboBox::currentIndexChanged);
        return list;
    };
    auto addCheck = [this](QGroupBox* group, QFormLayout* form, const char* caption) {
        auto* box = new QCheckBox(BuiltIn(caption), group);
        form->addRow(box);
        OnChange(box, &QCheckBox::clicked);
        return box;
    };
    auto newGroup = [this](const char* caption, QFormLayout*& form) {
        auto* group = new QGroupBox(BuiltIn(caption), this);
        form = new QFormLayout(group);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form->setVerticalSpacing(5);
        return group;
    };

    QFormLayout* form = nullptr;
    voxGroup_ = newGroup("VOX", form);
    c_.voxOn = addCheck(voxGroup_, form, "声控开关");
    c_.level = addList(voxGroup_, form, "声控等级", levelLabel_);
    c_.delay = addList(voxGroup_, form, "声控延迟进入时间[秒]", delayLabel_);
    c_.inhibitWhileReceiving = addCheck(voxGroup_, form, "声控接收时禁止");
    c_.pttCancelsVox = addCheck(voxGroup_, form, "按PTT键取消声控");
    c_.promptTone = addCheck(voxGroup_, form, "声控功能提示音");

    agcGroup_ = newGroup("麦克风使能", form);
    c_.agcOn = addCheck(agcGroup_, form, "麦克风AGC使能");
    c_.agcMin = addList(agcGroup_, form, "AGC动态范围最小值[分贝]", agcMinLabel_);
    c_.agcMax = addList(agcGroup_, form, "AGC动态范围最大值[分贝]", agcMaxLabel_);

    gainGroup_ = newGroup("麦克风增益", form);
    c_.analogGain = addList(gainGroup_, form, "模拟麦克风增益[分贝]", analogGainLabel_);
    c_.digitalGain = addList(gainGroup_, form, "数字麦克风增益[分贝]", digitalGainLabel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    layout->addWidget(NewRunOnlyNote());
    layout->addWidget(voxGroup_);
    layout->addWidget(agcGroup_);
    layout->addWidget(gainGroup_);
    layout->addStretch(1);
}

void CForm_VOX::InitialiseControls()
{
    Fill(c_.level, VoxLevelEntries());
    Fill(c_.delay, VoxDelayEntries());
    Fill(c_.agcMin, VoxAgcMinEntries());
    Fill(c_.agcMax, VoxAgcMaxEntries());
    Fill(c_.analogGain, VoxMicGainEntries());
    Fill(c_.digitalGain, VoxMicGainEntries());

    c_.voxOn->setText(Text(1));
    levelLabel_->setText(Text(2));
    delayLabel_->setText(Text(3));
    c_.pttCancelsVox->setText(Text(4));
    c_.promptTone->setText(Text(5));
    c_.inhibitWhileReceiving->setText(Text(6));
    c_.agcOn->setText(Text(9));
    agcGroup_->setTitle(Text(10));
    agcMinLabel_->setText(Text(11));
    agcMaxLabel_->setText(Text(12));
    analogGainLabel_->setText(Text(13));
    gainGroup_->setTitle(Text(14));
    digitalGainLabel_->setText(Text(15));
}

void CForm_VOX::ShowRecord()
{
    const VoxControls v = ShowVox(Context().vox);
    c_.level->setCurrentIndex(v.level);
    c_.delay->setCurrentIndex(v.delay);
    c_.voxOn->setChecked(v.voxOn);
    c_.inhibitWhileReceiving->setChecked(v.inhibitWhileReceiving);
    c_.pttCancelsVox->setChecked(v.pttCancelsVox);
    c_.promptTone->setChecked(v.promptTone);
    c_.agcOn->setChecked(v.agcOn);
    c_.agcMin->setCurrentIndex(v.agcMin);
    c_.agcMax->setCurrentIndex(v.agcMax);
    c_.analogGain->setCurrentIndex(v.analogGain);
    c_.digitalGain->setCurrentIndex(v.digitalGain);

    for (QWidget* w : {static_cast<QWidget*>(c_.level), static_cast<QWidget*>(c_.delay),
                       static_cast<QWidget*>(c_.inhibitWhileReceiving), static_cast<QWidget*>(c_.pttCancelsVox),
                       static_cast<QWidget*>(c_.promptTone)})
        w->setEnabled(v.voxControlsEnabled);
    levelLabel_->setEnabled(v.voxControlsEnabled);
    delayLabel_->setEnabled(v.voxControlsEnabled);
    for (QWidget* w : {static_cast<QWidget*>(c_.agcMin), static_cast<QWidget*>(c_.agcMax),
                       static_cast<QWidget*>(agcMinLabel_), static_cast<QWidget*>(agcMaxLabel_)})
        w->setEnabled(v.agcListsEnabled);
}

void CForm_VOX::Commit()
{
    VoxControls v;
    v.level = c_.level->currentIndex();
    v.delay = c_.delay->currentIndex();
    v.voxOn = c_.voxOn->isChecked();
    v.inhibitWhileReceiving = c_.inhibitWhileReceiving->isChecked();
    v.pttCancelsVox = c_.pttCancelsVox->isChecked();
    v.promptTone = c_.promptTone->isChecked();
    v.agcOn = c_.agcOn->isChecked();
    v.agcMin = c_.agcMin->currentIndex();
    v.agcMax = c_.agcMax->currentIndex();
    v.analogGain = c_.analogGain->currentIndex();
    v.digitalGain = c_.digitalGain->currentIndex();
    CommitVox(Context().vox, v);
}
