#pragma once
// The programming password of PasswordBlock: the protection switch (byte 1) and the 8-character
// password (bytes 2-9), each with its copy (byte 10, bytes 11-18). The password is kept
// right-aligned behind "0" characters. The programming-password form and the lower part of the
// password dialog both edit these bytes through the functions here.
#include <string>
#include <string_view>

struct Codeplug;

struct ProgrammingPasswordView {
    bool protectionOn = false;
    std::string password;  // bytes 2-9 up to the first zero byte
};

// What a show does: the switch is on only for 0x80 (bytes 1 and 10 are rewritten to 0x80 or 0),
// the password is read from bytes 2-9 and copied to 11-18.
ProgrammingPasswordView ShowProgrammingPassword(Codeplug& codeplug);

// What a commit does: bytes 1 and 10 from the switch; bytes 2-9 and 11-18 filled with "0" and
// the typed characters placed right-aligned in both. Only the last 8 characters of a longer
// text are kept (the edit boxes never hold more).
void StoreProgrammingPassword(Codeplug& codeplug, bool protectionOn, std::string_view typed);

// The 8 characters a typed password is stored as ("123" -> "00000123").
std::string PadProgrammingPassword(std::string_view typed);
