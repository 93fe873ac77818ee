#include "codeplug/Codeplug.h"

#include "codeplug/Records.h"

std::array<BlockView, 21> BlocksInFileOrder(Codeplug& c)
{
    return {{
        {"RadioSettings", c.RadioSettings},
        {"DmrSettings", c.DmrSettings},
        {"ContactTable", c.ContactTable.bytes},
        {"ContactCount", c.ContactCount},
        {"RxGroupTable", c.RxGroupTable.bytes},
        {"RxGroupCount", c.RxGroupCount},
        {"ScanTable", c.ScanTable.bytes},
        {"ZoneTable", c.ZoneTable.bytes},
        {"AnalogChannelTable", c.AnalogChannelTable.bytes},
        {"DigitalChannelTable", c.DigitalChannelTable.bytes},
        {"AnalogChannelCount", c.AnalogChannelCount},
        {"DigitalChannelCount", c.DigitalChannelCount},
        {"MessageCount", c.MessageCount},
        {"MessageTable", c.MessageTable.bytes},
        {"ScanListCount", c.ScanListCount},
        {"IdentityBlock", c.IdentityBlock},
        {"RecordE2Block", c.RecordE2Block},
        {"RadioInfoBlock", c.RadioInfoBlock},
        {"PasswordBlock", c.PasswordBlock},
        {"FunctionExtra", c.FunctionExtra},
        {"FileMarker", c.FileMarker},
    }};
}

std::uint32_t GetCount(const Block<4>& count) { return GetLE32(count, 0); }
void SetCount(Block<4>& count, std::uint32_t value) { PutLE32(count, 0, value); }

void RepairTreeCounts(Codeplug& c)
{
    if (c.DigitalChannelCount[0] == 0 || c.DigitalChannelCount[0] > c.DigitalChannelTable.kCapacity)
        c.DigitalChannelCount[0] = 1;
    if (c.AnalogChannelCount[0] == 0 || c.AnalogChannelCount[0] > c.AnalogChannelTable.kCapacity)
        c.AnalogChannelCount[0] = 1;
    const std::uint32_t scanLists = GetCount(c.ScanListCount);
    if (scanLists == 0 || scanLists > c.ScanTable.kCapacity)
        SetCount(c.ScanListCount, 1);
    if (GetCount(c.RxGroupCount) == 0)
        SetCount(c.RxGroupCount, 1);
}

void RepairFunctionExtra(Codeplug& c)
{
    const std::uint16_t value = GetLE16(c.FunctionExtra, FunctionExtraField::DigitalMicGain);
    if (value < FunctionExtraField::kDigitalMicGainMin || value > FunctionExtraField::kDigitalMicGainMax)
        PutLE16(c.FunctionExtra, FunctionExtraField::DigitalMicGain, FunctionExtraField::kDigitalMicGainRepaired);
}
