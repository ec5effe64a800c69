// The account operations behind the account definition form, for either
// chart: number checks, adding, renumbering, merging and deleting accounts,
// and moving or deleting the income or expense records filed under them.
//
// REQUIRES for every routine: the chart's table open (ACC or ACCI). EXP5 or
// INC5 is opened and closed again inside a routine that needs it. Every
// engine failure ends the program through the engine's exit test; the steps
// are ordered so that running an interrupted operation again completes it.
#pragma once

#include <QString>
#include <cstdint>

#include "classify/account_chart.h"

namespace kpr {

// Record number of the live account numbered `number`, 0 when none.
// Positions the chart's table.
uint32_t FindAccount(DataStore& store, const AccountChart& chart, int number);

// True unless a live account carries `number`. Positions the chart's table.
bool AccountNumberFree(DataStore& store, const AccountChart& chart, int number);

// The number offered to a new account: one past the highest in use (1 for an
// empty chart); when that would pass 9999, the lowest free number instead;
// 0 when all of 1..9999 are in use. Moves the chart's table.
int NextAccountNumber(DataStore& store, const AccountChart& chart);

// Every EXP5 (expense chart) or INC5 (income chart) record, marked deleted
// or not, filed under account old_no gets new_no.
void ReassignAccount(DataStore& store, const AccountChart& chart, int old_no, int new_no);

// Marks deleted every EXP5 or INC5 record of account acc_no (archived ones
// too), then account record `recno`; sets PackPending.
void DeleteAccountCascade(DataStore& store, const AccountChart& chart, int acc_no, uint32_t recno);

// Appends the chart's record buffer as a new account. Its record number, or
// 0 when the engine refused the append (nothing written).
uint32_t AddAccount(DataStore& store, const AccountChart& chart);

// Writes the chart's record buffer into account record `recno`.
void StoreAccountAt(DataStore& store, const AccountChart& chart, uint32_t recno);

// Renumber: the records of old_no move to the buffer's free AccNo, then
// account record `recno` takes the buffer.
void RenumberAccount(DataStore& store, const AccountChart& chart, uint32_t recno, int old_no);

// Merge: the records of old_no move to the buffer's AccNo, `target_recno`
// (the account that carried it) is marked deleted, and `recno` takes the
// buffer; sets PackPending.
void MergeAccount(DataStore& store, const AccountChart& chart, uint32_t recno, int old_no,
                  uint32_t target_recno);

}  // namespace kpr
