#pragma once
// DMR user lists as they circulate: CSV with a header such as "Radio ID,Callsign,Name,City,
// State,Country,Remarks" or "RADIO_ID,CALLSIGN,FIRST_NAME,LAST_NAME,...", commas or semicolons.
// Each row becomes a private-call contact named by its callsign (by its name when it has none);
// IDs run from 1 to 16776415, as the contact form takes them.
#include <string_view>

#include "forms/foreign/ImportPlan.h"

ImportPlan ReadDmrUserCsv(std::string_view text);
