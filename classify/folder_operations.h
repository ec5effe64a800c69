// The folder operations behind the folder definition form: finding, adding,
// renumbering, merging and deleting folders, and moving or deleting the
// income and expense records filed in them.
//
// REQUIRES for every routine: FOLDER open (OpenFolders). INC5 and EXP5 are
// opened and closed again inside a routine that needs them. Every engine
// failure ends the program through the engine's exit test; the steps are
// ordered so that running an interrupted operation again completes it.
#pragma once

#include <QString>
#include <cstdint>

#include "store/data_store.h"

namespace kpr {

// Highest number a folder or account field holds.
inline constexpr int kMaxClassNumber = 9999;

// Record number of the live folder numbered `number`, 0 when there is none.
// Positions FOLDER as a side effect.
uint32_t FindFolder(DataStore& store, int number);

// Every INC5 and EXP5 record (marked deleted or not) of folder old_no gets
// folder new_no.
void ReassignFolder(DataStore& store, int old_no, int new_no);

// Marks deleted every INC5 and EXP5 record of folder fol_no (archived ones
// too), then the folder record `recno`; sets PackPending.
void DeleteFolderCascade(DataStore& store, int fol_no, uint32_t recno);

// Appends a folder numbered NextFolderNumber named `name`. Its record
// number, or 0 when the engine refused the append or no number up to 9999
// is free (nothing written then).
uint32_t AddFolder(DataStore& store, const QString& name);

// Writes number and name into folder record `recno` (the folder buffer
// takes them).
void StoreFolderAt(DataStore& store, uint32_t recno, int number, const QString& name);

// Renumber: the records of old_no move to the free number new_no, then
// folder record `recno` takes new_no and `name`.
void RenumberFolder(DataStore& store, uint32_t recno, int old_no, int new_no, const QString& name);

// Merge: the records of old_no move to new_no, folder record `recno` takes
// new_no and `name`, and `target_recno` (the folder that carried new_no) is
// marked deleted; sets PackPending.
void MergeFolder(DataStore& store, uint32_t recno, int old_no, uint32_t target_recno, int new_no,
                 const QString& name);

}  // namespace kpr
