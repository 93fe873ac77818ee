#pragma once
// The read and write sessions: what one press of the transfer dialog's start button runs on the
// worker thread. Each call is one attempt; an attempt the radio stops for a password leaves the
// port and the radio's session open (status 256) and the next call continues it.
//
// ReadWorker reads into a copy of the image and replaces the image only after the whole read has
// succeeded, so a failed or interrupted read changes nothing. WriteWorker converts copies of
// the records to wire order, so the image never holds wire order; it does change the image in
// the ways every write does (field numbers, option bits, message and password stamps, the
// radio's information block read back, a MessageCount of 0 or above 3 set to 1).
//
// The final status is stored last, after the port has been closed (or left open for a password
// retry) and the image has been replaced, so whoever sees it may use the image and the port.
#include <atomic>
#include <cstdint>
#include <functional>

#include "codeplug/Codeplug.h"
#include "link/CDialog_MSComm.h"
#include "link/SessionRules.h"
#include "link/TransferState.h"

struct SessionContext {
    Codeplug& codeplug;
    CDialog_MSComm& link;
    TransferState& state;
    // The date stamped into PasswordBlock by a write.
    std::function<session::Date()> today = session::LocalDate;
    // Counts the exchanges of the current attempt (for displays that follow the data rather than
    // the clock); may be null.
    std::atomic<int>* exchanges = nullptr;
    // Set by a write just before the record carrying the radio ID is sent (from then on the
    // radio may hold the ID, whatever happens next); may be null.
    std::atomic<bool>* radioIdSent = nullptr;
};

// The most exchanges one attempt can make, for a progress display: a full read and a full write.
int MaxReadExchanges();
int MaxWriteExchanges();
// The exchanges a write attempt makes with this image, the password exchange included.
int PlannedWriteExchanges(const Codeplug& image, bool firstAttempt);

void ReadWorker(SessionContext& context);
void WriteWorker(SessionContext& context);
