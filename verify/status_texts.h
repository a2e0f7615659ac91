// The HTTP status table and the Winsock error texts that outcomes are worded with.
#pragma once

// Kinds of a status record: followed or accepted, not accepted, error.
enum { STATUS_ACCEPTED = 0, STATUS_NOT_ACCEPTED = 10, STATUS_ERROR = 11 };

struct StatusRecord {
    int kind;
    int status;
    const char *text;
};

// In table order, ended by a record without text.
extern const StatusRecord statusTable[];

// The first record with that status, or null.
const StatusRecord *FindStatus(int status);
// The text of a Winsock error number of the table, or null.
const char *WinsockErrorText(int error);
// The text of an outcome of an https URL's secure connection (codes 15 to 20 of the transaction), or null.
const char *SecureOutcomeText(int code);
