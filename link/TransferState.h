#pragma once
// What the transfer dialog and its worker share. The dialog's thread polls the atomics from its
// timer while the worker runs; the byte arrays are written by the dialog only before it hands a
// job to the worker (the hand-over orders the writes) and by the worker only while it runs.
//
// IdAutoIncrement must survive the dialog, so the object belongs to whoever opens the dialog
// (the main window), not to the dialog.
#include <atomic>
#include <cstdint>

#include "link/SessionRules.h"

struct TransferState {
    std::atomic<std::uint32_t> TransferStatus{session::status::Idle};
    std::atomic<std::int32_t> TransferBusy{0};
    std::atomic<std::int32_t> ProgressPos{0};
    // The running attempt's progress: exchanges with the radio done, out of those it will make.
    // The total starts at the most the attempt can need and comes down as the session learns
    // more (no password asked, a table shorter than its capacity); at the end both are equal.
    std::atomic<std::int32_t> RecordsDone{0};
    std::atomic<std::int32_t> RecordsTotal{0};
    // Requests of the session repeated because their reply arrived damaged (see
    // CDialog_MSComm::Repeats), as the session ended: a success that needed many is a sign of a
    // poor cable.
    std::atomic<std::int32_t> Repeats{0};
    std::atomic<std::int32_t> ReadPasswordPending{0};
    std::atomic<std::int32_t> WritePasswordPending{0};
    session::PasswordEntryBytes PasswordEntry{};
    session::RadioPasswordBytes RadioPasswordCopy{};
    session::PasswordRecordBytes PasswordRecord{};
    std::atomic<std::int32_t> IdAutoIncrement{0};
};
