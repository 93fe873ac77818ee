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
    frame.Windows().SetFormFactory(FormKind::AnalogChannel, [](FormContext& context) { return new CFORM_AnaCH(context); });
    frame.Windows().SetFormFactory(FormKind::DigitalChannel, [](FormContext& context) { return new CForm_AnologCH(context); });
    frame.Windows().SetFormFactory(FormKind::Dmr, [](FormContext& context) { return new CFORM_DMR(context); });
    frame.Windows().SetFormFactory(FormKind::DigitalEmergAlarm, [](FormContext& context) { return new CForm_DigitalEmergAlarm(context); });
    frame.Windows().SetFormFactory(FormKind::AnalogEmergAlarm, [](FormContext& context) { return new CForm_AnologEmergAlarm(context); });
    frame.Windows().SetFormFactory(FormKind::Key, [](FormContext& context) { return new CForm_Key(context); });
    frame.Windows().SetFormFactory(FormKind::Message, [](FormContext& context) { return new Form_Message(context); });
    frame.Windows().SetFormFactory(FormKind::DmrContact, [](FormContext& context) { return new CFORM_DMR_Contact(context); });
    frame.Windows().SetFormFactory(FormKind::DmrRxGrpList, [](FormContext& context) { return new CFORM_DMR_RxGrpList(context); });
    frame.Windows().SetFormFactory(FormKind::PasswordEC, [](FormContext& context) { return new CFrom_PasswordEC(context); });
    frame.Windows().SetFormFactory(FormKind::Fun, [](FormContext& context) { return new CForm_Fun(context); });
    frame.Windows().SetFormFactory(FormKind::Vox, [](FormContext& context) { return new CForm_VOX(context); });
    frame.Windows().SetFormFactory(FormKind::Zone, [](FormContext& context) { return new CForm_GroupCH(context); });
    frame.Windows().SetFormFactory(FormKind::Scan, [](FormContext& context) { return new CForm_Scan(context); });
    frame.Windows().SetFormFactory(FormKind::MonitorCh, [](FormContext& context) { return new CForm_MonitorCh(context); });
}
