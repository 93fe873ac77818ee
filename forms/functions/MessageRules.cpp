#include "forms/functions/MessageRules.h"

#include <algorithm>
#include <stdexcept>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"
#include "forms/channels/Encodings.h"

namespace {
auto TextField(std::span<std::uint8_t, 83> record) { return record.subspan<MessageField::Text, AliasField::kMessageBytes>(); }
auto TextField(std::span<const std::uint8_t, 83> record)
{
    return record.subspan<MessageField::Text, AliasField::kMessageBytes>();
}
}  // namespace

static_assert(decltype(Codeplug::MessageTable)::kCapacity == kMessageSlots);
static_assert(MessageField::Text + AliasField::kMessageBytes == decltype(Codeplug::MessageTable)::kRecordBytes);

std::uint32_t ShownMessageCount(Codeplug& codeplug)
{
    if (GetCount(codeplug.MessageCount) > kMessageSlots)
        SetCount(codeplug.MessageCount, 0);
    return GetCount(codeplug.MessageCount);
}

std::string MessageText(const Codeplug& codeplug, std::size_t n)
{
    if (n >= kMessageSlots)
        return {};
    const auto record = codeplug.MessageTable.record(n);
    return DecodeAlias(record[MessageField::TextLength], TextField(record));
}

bool SetMessageText(Codeplug& codeplug, std::size_t n, std::string_view utf8)
{
    const auto record = codeplug.MessageTable.record(n);
    return StoreAlias(utf8, AliasField::kMaxMessageChars, record[MessageField::TextLength], TextField(record));
}

bool OpenMessageRow(Codeplug& codeplug, int row)
{
    if (row < 1 || row > static_cast<int>(kMessageSlots))
        return false;
    const std::uint32_t count = ShownMessageCount(codeplug);
    if (static_cast<std::uint32_t>(row) > count + 1)
        return false;
    if (static_cast<std::uint32_t>(row) == count + 1) {
        // The message comes into use empty: whatever an earlier message left in the record stays
        // out of sight and out of the radio.
        const auto record = codeplug.MessageTable.record(static_cast<std::size_t>(row - 1));
        record[MessageField::TextLength] = 0;
        std::fill(TextField(record).begin(), TextField(record).end(), std::uint8_t{0});
        SetCount(codeplug.MessageCount, static_cast<std::uint32_t>(row));
    }
    return true;
}
