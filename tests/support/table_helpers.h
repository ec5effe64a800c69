// Helpers for the table engine's tests: making tables and data directories,
// walking a table in an order, editing files behind the engine's back, and
// running the independent dBASE readers (Python dbfread, Perl XBase, GDAL).
#pragma once

#include "tests/support/paths.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/dbf_field.h"
#include "store/file.h"
#include "store/group_file.h"
#include "store/table.h"

namespace kpr::testing {

DbfField Field(const std::string& name, char type, uint16_t width, uint8_t decimals = 0);

// Writes a new, empty table with these fields at path, as the engine lays
// tables out.
Status MakeTable(const std::string& path, const std::vector<DbfField>& fields);

// The installed data directory: the six empty tables, with index and group
// files made the way the program makes them (DataStore::RebuildIndexes).
Status MakeInstalledDataDir(const std::string& dir);

// A tag over live records only, as every tag of the program is.
TagDef LiveTag(const std::string& name, const std::string& expression);

// Record numbers in the order of tag (nullptr: record order), by Top and
// Skip(1). Fails the test if the walk does not end within RecCount() steps.
std::vector<uint32_t> Walk(Table* table, Tag* tag);

// Record numbers of the live records sorted by key (of the current record),
// then by record number: what a tag over live records must walk.
std::vector<uint32_t> SortedLive(Table* table, const std::function<std::string(Table*)>& key);

// The installed EXP5 table. Its tag keys made from the field values of the
// current record: EDate = date + STR(AccNo,4), EAcc = STR(AccNo,4) + date.
std::string Exp5DateKey(Table* exp5);
std::string Exp5AccKey(Table* exp5);
// Fails the test unless EDate and EAcc both walk as sorts of the live records.
void ExpectExp5TagsRight(Table* exp5);
// Appends n expenses with dates and accounts drawn from seed, and marks
// every seventh deleted, through an engine on dir.
void FillExp5(const std::string& dir, int n, unsigned seed);

// Overwrites bytes of a file at offset (the file is not made shorter).
void PatchFile(const std::string& path, uint64_t offset, const std::string& bytes);
void TruncateFile(const std::string& path, uint64_t size);
// Sets the file's modification time some seconds later than it is, as a
// later edit by another program would leave it.
void TouchLater(const std::string& path, int seconds = 5);
// Copies every file of one directory into another (existing) one, keeping
// modification times.
void CopyDirFiles(const std::string& from, const std::string& to);


// Shell commands. Quote builds one shell word.
std::string Quote(const std::string& s);
struct CommandResult {
  int exit_code = -1;
  std::string out;  // standard output; standard error goes to the test log
};
CommandResult RunCommand(const std::string& command);

// Whether the independent readers are installed; the message says what to
// install when not.
bool HavePythonDbfread(std::string* why);
bool HavePerlXBase(std::string* why);
bool HaveOgrinfo(std::string* why);

// The real disk without syncs. Loops that create and write data
// directories thousands of times use it; what they test is what the files
// hold, not what survives a power cut.
class UnsyncedFileSystem final : public FileSystem {
 public:
  Status Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* file) override;
  bool Exists(const std::string& path) override { return base_->Exists(path); }
  Status Rename(const std::string& from, const std::string& to) override {
    return base_->Rename(from, to);
  }
  Status Remove(const std::string& path) override { return base_->Remove(path); }
  Status ListDir(const std::string& dir, std::vector<std::string>* names) override {
    return base_->ListDir(dir, names);
  }
  Status SyncDir(const std::string&) override { return Status::OK(); }
  Status CreateDir(const std::string& dir) override { return base_->CreateDir(dir); }
  Status ModTime(const std::string& path, int64_t* ns) override { return base_->ModTime(path, ns); }
  Status Lock(const std::string& path, bool exclusive, std::unique_ptr<FileLock>* lock) override {
    return base_->Lock(path, exclusive, lock);
  }

 private:
  FileSystem* base_ = FileSystem::Default();
};

}  // namespace kpr::testing
