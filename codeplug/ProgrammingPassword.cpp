#include "codeplug/ProgrammingPassword.h"

#include <algorithm>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"

namespace {
namespace F = PasswordField;

void SetSwitch(Codeplug& c, bool on)
{
    const std::uint8_t value = on ? F::kProtectionOn : 0;
    c.PasswordBlock[F::Switch] = value;
    c.PasswordBlock[F::SwitchCopy] = value;
}

void CopyPassword(Codeplug& c)
{
    std::copy_n(c.PasswordBlock.begin() + F::Password, F::kPasswordBytes, c.PasswordBlock.begin() + F::PasswordCopy);
}
}  // namespace

std::string PadProgrammingPassword(std::string_view typed)
{
    if (typed.size() > F::kPasswordBytes)
        typed.remove_prefix(typed.size() - F::kPasswordBytes);
    std::string padded(F::kPasswordBytes - typed.size(), '0');
    padded += typed;
    return padded;
}

ProgrammingPasswordView ShowProgrammingPassword(Codeplug& c)
{
    ProgrammingPasswordView view;
    view.protectionOn = c.PasswordBlock[F::Switch] == F::kProtectionOn;
    SetSwitch(c, view.protectionOn);
    const auto first = c.PasswordBlock.begin() + F::Password;
    view.password.assign(first, std::find(first, first + F::kPasswordBytes, std::uint8_t{0}));
    CopyPassword(c);
    return view;
}

void StoreProgrammingPassword(Codeplug& c, bool protectionOn, std::string_view typed)
{
    SetSwitch(c, protectionOn);
    const std::string padded = PadProgrammingPassword(typed);
    std::copy(padded.begin(), padded.end(), c.PasswordBlock.begin() + F::Password);
    CopyPassword(c);
}
