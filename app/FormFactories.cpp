#include "app/FormFactories.h"

#include "app/CMainFrame.h"
#include "app/FormWindows.h"
#include "forms/channels/CFORM_AnaCH.h"
#include "forms/channels/CForm_AnologCH.h"
#include "forms/dmr/CFORM_DMR.h"
#include "forms/dmr/CForm_AnologEmergAlarm.h"
#include "forms/dmr/CForm_DigitalEmergAlarm.h"
#include "forms/functions/CForm_Key.h"
#include "forms/functions/Form_Message.h"
#include "forms/dmr/CFORM_DMR_Contact.h"
#include "forms/dmr/CFORM_DMR_RxGrpList.h"
#include "forms/functions/CFrom_PasswordEC.h"
#include "forms/functions/CForm_Fun.h"
#include "forms/functions/CForm_VOX.h"
#include "forms/channels/CForm_GroupCH.h"
#include "forms/channels/CForm_MonitorCh.h"
#include "forms/channels/CForm_Scan.h"

void InstallFormFactories(CMainFrame& frame)
{
    // A form kind without a factory makes its command and tree items do nothing.
    FormWindows& windows = frame.Windows();
    windows.SetFormFactory(FormKind::AnalogChannel, [](FormContext& context) { return new CFORM_AnaCH(context); });
    windows.SetFormFactory(FormKind::DigitalChannel, [](FormContext& context) { return new CForm_AnologCH(context); });
    windows.SetFormFactory(FormKind::Dmr, [](FormContext& context) { return new CFORM_DMR(context); });
    windows.SetFormFactory(FormKind::DigitalEmergAlarm, [](FormContext& context) { return new CForm_DigitalEmergAlarm(context); });
    windows.SetFormFactory(FormKind::AnalogEmergAlarm, [](FormContext& context) { return new CForm_AnologEmergAlarm(context); });
    windows.SetFormFactory(FormKind::Key, [](FormContext& context) { return new CForm_Key(context); });
    windows.SetFormFactory(FormKind::Message, [](FormContext& context) { return new Form_Message(context); });
    windows.SetFormFactory(FormKind::DmrContact, [](FormContext& context) { return new CFORM_DMR_Contact(context); });
    windows.SetFormFactory(FormKind::DmrRxGrpList, [](FormContext& context) { return new CFORM_DMR_RxGrpList(context); });
    windows.SetFormFactory(FormKind::PasswordEC, [](FormContext& context) { return new CFrom_PasswordEC(context); });
    windows.SetFormFactory(FormKind::Fun, [](FormContext& context) { return new CForm_Fun(context); });
    windows.SetFormFactory(FormKind::Vox, [](FormContext& context) { return new CForm_VOX(context); });
    windows.SetFormFactory(FormKind::Zone, [](FormContext& context) { return new CForm_GroupCH(context); });
    windows.SetFormFactory(FormKind::Scan, [](FormContext& context) { return new CForm_Scan(context); });
    windows.SetFormFactory(FormKind::MonitorCh, [](FormContext& context) { return new CForm_MonitorCh(context); });
}
