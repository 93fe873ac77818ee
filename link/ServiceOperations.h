#pragma once
// The exchanges of the password dialog and the adjustment-value dialog over the service
// frames, as plain functions over the link object. They block for as long as the radio takes
// (seconds against a silent one), so the dialogs run them on a worker thread. Each opens the
// port itself and closes it before returning.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class CDialog_MSComm;

namespace service {

// ---------------------------------------------------------------- radio password

// Length of the old, new, repeated and default passwords.
inline constexpr int kRadioPasswordChars = 6;

// A click on the read/write password box: open the port, wait 10 ms, probe the cable; when the
// box is now ticked ask the radio with the alternative identify. Returns the state byte the
// radio answered, nullopt when it did not answer or the box is unticked. The port is closed.
std::optional<std::uint8_t> CheckRadioPassword(CDialog_MSComm& link, bool ticked);

// What the upper part of the password dialog enables for a state byte.
enum class PasswordFields {
    NewOnly,        // 0: the radio has no password: new and repeat
    OldAndNew,      // 1, 2: old, clear, new and repeat
    CloseDialog,    // 3: an empty message, then the dialog closes
    Untick,         // above 3, or no answer
};
PasswordFields FieldsForState(std::optional<std::uint8_t> state);

struct PasswordRequest {
    bool enabled = false;  // the read/write password box is ticked
    bool clear = false;    // the clear password box is ticked
    std::string oldPassword, newPassword, repeat;  // as typed
};

enum class PasswordOutcome {
    NotEnabled,    // the box is unticked: only the cable was probed
    InputError,    // the entries do not pass their checks (nothing written)
    Done,          // success
    Failed,        // the radio is silent or refused
    StateUnknown,  // a state byte above 3: counted as success, the box is unticked
};

// Leading and trailing blanks removed.
std::string Trimmed(const std::string& text);
// The checks of the entries: with clear the old password must be given; otherwise new and
// repeat must be equal (after trimming) and not empty.
bool PasswordEntriesValid(const PasswordRequest& request);

// The confirm button: probe, identify, the checks, then by the state byte write the new
// password (state 0), or send the old one and write the new or the clearing block (state 2).
PasswordOutcome ChangeRadioPassword(CDialog_MSComm& link, const PasswordRequest& request);

// ---------------------------------------------------------------- adjustment values

struct AdjustValues {
    int qt = 41, dqt = 37, slotOffset = 142, slotLength = 708, vox0 = 83, vox1 = 30, vox9 = 101;
};

namespace adjust {
inline constexpr int kOk = 0;
inline constexpr int kVoxTooClose = 100;
inline constexpr int kFirmwareTooOld = 200;
inline constexpr int kForeignRadio = 300;
}  // namespace adjust

// Whether every value fits its field: QT, DQT and the VOX values 8-bit, the slot values 16-bit.
bool AdjustValuesInRange(const AdjustValues& values);
// VOX1 < VOX9 with at least 10 between them.
bool VoxSpacingOk(int vox1, int vox9);
// The 10-byte VOX table: VOX0, VOX1, seven steps of (VOX9 - VOX1) / 9 above VOX1, VOX9.
std::array<std::uint8_t, 10> VoxTable(int vox0, int vox1, int vox9);
// The firmware bytes of the key answer (bytes 12-15) as "%02X" text: the first character as a
// number A, the next two as a number B; new enough when A >= 1 or B >= 4.
bool FirmwareNewEnough(std::span<const std::uint8_t, 4> firmware);

// The whole "Write" exchange. 0 on success; 100, 200, 300 for the VOX spacing, old firmware
// and a foreign radio; any other value is the failing result of an exchange.
int WriteAdjustValues(CDialog_MSComm& link, const AdjustValues& values);

// The RW_Str key of the message for a result of WriteAdjustValues.
int AdjustMessageKey(int result);

}  // namespace service
