#include "app/FormFactories.h"

#include "app/CMainFrame.h"
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
    frame.SetFormFactory(FormKind::AnalogChannel, [](CVanticApp& app) { return new CFORM_AnaCH(app); });
    frame.SetFormFactory(FormKind::DigitalChannel, [](CVanticApp& app) { return new CForm_AnologCH(app); });
    frame.SetFormFactory(FormKind::Dmr, [](CVanticApp& app) { return new CFORM_DMR(app); });
    frame.SetFormFactory(FormKind::DigitalEmergAlarm, [](CVanticApp& app) { return new CForm_DigitalEmergAlarm(app); });
    frame.SetFormFactory(FormKind::AnalogEmergAlarm, [](CVanticApp& app) { return new CForm_AnologEmergAlarm(app); });
    frame.SetFormFactory(FormKind::Key, [](CVanticApp& app) { return new CForm_Key(app); });
    frame.SetFormFactory(FormKind::Message, [](CVanticApp& app) { return new Form_Message(app); });
    frame.SetFormFactory(FormKind::DmrContact, [](CVanticApp& app) { return new CFORM_DMR_Contact(app); });
    frame.SetFormFactory(FormKind::DmrRxGrpList, [](CVanticApp& app) { return new CFORM_DMR_RxGrpList(app); });
    frame.SetFormFactory(FormKind::PasswordEC, [](CVanticApp& app) { return new CFrom_PasswordEC(app); });
    frame.SetFormFactory(FormKind::Fun, [](CVanticApp& app) { return new CForm_Fun(app); });
    frame.SetFormFactory(FormKind::Vox, [](CVanticApp& app) { return new CForm_VOX(app); });
    frame.SetFormFactory(FormKind::Zone, [](CVanticApp& app) { return new CForm_GroupCH(app); });
    frame.SetFormFactory(FormKind::Scan, [](CVanticApp& app) { return new CForm_Scan(app); });
    frame.SetFormFactory(FormKind::MonitorCh, [](CVanticApp& app) { return new CForm_MonitorCh(app); });
}
