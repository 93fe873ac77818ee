#include "core/NavigationState.h"

#include <stdexcept>

namespace {

// Sizes, commands and title sources of the forms, in FormKind order. The two emergency-alarm
// forms open by ids of our own (CommandTable.h); zones and scan lists only from the tree.
constexpr std::array<FormInfo, kFormKindCount> kForms = {{
    {FormKind::Fun, "CForm_Fun", 32791, 950, 650, false, TitleRule::SetByForm, nullptr},
    {FormKind::Key, "CForm_Key", 32793, 700, 450, false, TitleRule::SetByForm, nullptr},
    {FormKind::Vox, "CForm_VOX", 32854, 400, 520, false, TitleRule::Fixed, "VOX"},
    {FormKind::MonitorCh, "CForm_MonitorCh", 32857, 900, 525, false, TitleRule::SetByForm, nullptr},
    {FormKind::Dmr, "CFORM_DMR", 32824, 750, 500, false, TitleRule::SetByForm, nullptr},
    {FormKind::DmrContact, "CFORM_DMR_Contact", 32825, 840, 500, false, TitleRule::SetByForm, nullptr},
    {FormKind::DmrRxGrpList, "CFORM_DMR_RxGrpList", 32827, 900, 700, true, TitleRule::ItemLabel, nullptr},
    {FormKind::DigitalChannel, "CForm_AnologCH", 32834, 800, 650, true, TitleRule::ItemLabel, nullptr},
    {FormKind::AnalogChannel, "CFORM_AnaCH", 32864, 850, 700, true, TitleRule::ItemLabel, nullptr},
    {FormKind::Zone, "CForm_GroupCH", 0, 1000, 700, true, TitleRule::ItemLabel, nullptr},
    {FormKind::Scan, "CForm_Scan", 0, 1000, 585, true, TitleRule::ItemLabel, nullptr},
    {FormKind::PasswordEC, "CFrom_PasswordEC", 32868, 750, 650, true, TitleRule::LabelBuffer, nullptr},
    {FormKind::Message, "Form_Message", 32866, 750, 650, false, TitleRule::SetByForm, nullptr},
    {FormKind::DigitalEmergAlarm, "CForm_DigitalEmergAlarm", 32901, 750, 560, false, TitleRule::SetByForm, nullptr},
    {FormKind::AnalogEmergAlarm, "CForm_AnologEmergAlarm", 32902, 750, 620, false, TitleRule::SetByForm, nullptr},
}};

constexpr bool TableInKindOrder()
{
    for (std::size_t i = 0; i < kForms.size(); ++i)
        if (static_cast<std::size_t>(kForms[i].kind) != i)
            return false;
    return true;
}
static_assert(TableInKindOrder(), "the form table must follow FormKind order");

}  // namespace

const FormInfo& FormInfoOf(FormKind kind)
{
    const auto i = static_cast<std::size_t>(kind);
    if (i >= kForms.size())
        throw std::out_of_range("unknown form kind");
    return kForms[i];
}

std::optional<FormKind> FormForCommand(int command)
{
    if (command == 0)
        return std::nullopt;
    for (const FormInfo& info : kForms)
        if (info.command == command)
            return info.kind;
    return std::nullopt;
}

std::optional<std::string> NavigationState::WindowTitleFor(FormKind kind) const
{
    const FormInfo& info = FormInfoOf(kind);
    switch (info.title) {
    case TitleRule::SetByForm: return std::nullopt;
    case TitleRule::Fixed: return std::string(info.fixedTitle);
    case TitleRule::ItemLabel: return Title(kind);
    case TitleRule::LabelBuffer: return labelBuffer;
    }
    return std::nullopt;
}
