#include "link/SessionRules.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace session {

std::string RadioIdFieldText(std::uint32_t packedId, bool increment)
{
    const std::string hex = BcdIdToText(packedId);
    if (!increment)
        return hex;
    // The text read as a decimal number: leading decimal digits only, as a C conversion would.
    std::uint64_t decimal = 0;
    for (const char* p = hex.c_str(); *p >= '0' && *p <= '9'; ++p)
        decimal = decimal * 10 + static_cast<std::uint64_t>(*p - '0');
    return std::to_string(decimal + 1);
}

PasswordEntryBytes MakePasswordEntry(std::string_view typed)
{
    PasswordEntryBytes entry;
    entry.fill('0');
    const std::string_view used = typed.substr(0, std::min(typed.size(), kPasswordChars));
    std::copy(used.begin(), used.end(), entry.begin() + static_cast<std::ptrdiff_t>(kPasswordChars - used.size()));
    return entry;
}

PasswordRecordBytes MakePasswordRecord(const PasswordEntryBytes& entry, Direction direction)
{
    PasswordRecordBytes record{};
    record[0] = 0x03;
    record[1] = static_cast<std::uint8_t>(direction);
    std::copy_n(entry.begin(), kPasswordChars, record.begin() + 2);
    return record;
}

bool PasswordMatchesRadio(const PasswordEntryBytes& entry, const RadioPasswordBytes& radioRecord)
{
    return std::equal(entry.begin(), entry.begin() + kPasswordChars, radioRecord.begin() + kRadioPasswordAt);
}

void PrepareImageForWrite(Codeplug& c)
{
    ::StampFieldNumbers(c);
    ::ClearForcedOffOptionBits(c);
}

void StampMessageRecord(std::span<std::uint8_t, 83> record) { StampRecordFieldNumbers(record, kMessageFieldNumberOffsets); }

std::uint32_t MessagesToWrite(const Codeplug& c)
{
    const std::uint32_t count = GetCount(c.MessageCount);
    return count == 0 || count > c.MessageTable.kCapacity ? 1 : count;
}

std::uint32_t RepairMessageCountForWrite(Codeplug& c)
{
    const std::uint32_t count = MessagesToWrite(c);
    SetCount(c.MessageCount, count);
    return count;
}

Date LocalDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void StampPasswordBlock(Codeplug& c, const Date& date)
{
    namespace F = PasswordField;
    auto& block = c.PasswordBlock;
    block[F::RecordMarker] = 0;
    block[F::SwitchCopy] = block[F::Switch] != 0 ? F::kProtectionOn : 0x00;
    std::copy_n(block.begin() + F::Password, F::kPasswordBytes, block.begin() + F::PasswordCopy);
    block[F::FieldMarker] = 1;
    // Ten characters for any four-digit year; an odd date is cut to the field.
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%d,%02d,%02d", date.year, date.month, date.day);
    const std::size_t used = length < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(length), F::kDateBytes);
    std::fill_n(block.begin() + F::Date, F::kDateBytes, 0);
    std::copy_n(text, used, block.begin() + F::Date);
}

std::uint32_t StatusForFailure(int result)
{
    switch (result) {
    case 1024: return status::PasswordWanted;
    case 2: return status::PasswordCode2;
    case 258: return status::Refused;
    case 257: return status::ModelMismatch;
    case 768: return status::FirmwareTooOld;
    case 515: return status::Damaged;
    case 516: return status::TooSlow;
    default: return status::Failed;
    }
}

std::optional<int> MessageKeyForStatus(std::uint32_t s)
{
    switch (s) {
    case status::ReadDone: return 19;
    case status::WriteDone: return 22;
    case status::Failed: return 15;
    case status::Damaged: return 90;
    case status::TooSlow: return 93;
    case status::Refused: return 25;
    case status::ModelMismatch: return 81;
    case status::FirmwareTooOld: return 82;
    default: return std::nullopt;
    }
}

bool WantsPassword(std::uint32_t s) { return s == status::PasswordWanted || s == status::PasswordCode2; }

}  // namespace session
