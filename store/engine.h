// The table engine: opens tables in one data directory, holds the settings
// that govern opening, and keeps the error code the program tests after
// calls that must not fail.
//
// Every failure is recorded as a negative error code with a message naming
// the file; ErrorCode() reads it and resets it to 0. The program's fatal end
// (Exit) goes through one handler, so tests can observe it instead of the
// process ending.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/file.h"
#include "store/table.h"

namespace kpr {

class Engine {
 public:
  // Error codes (negative).
  static constexpr int kErrorIO = -1;
  static constexpr int kErrorOpen = -2;
  static constexpr int kErrorTagNotFound = -3;
  static constexpr int kErrorValue = -4;
  static constexpr int kErrorBusy = -5;

  // Called by Exit with the message of the error that ended the program.
  // It must not return: it ends the process or throws.
  using ExitHandler = std::function<void(const std::string& message)>;

  explicit Engine(std::string directory = ".", FileSystem* fs = FileSystem::Default());
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  const std::string& directory() const { return directory_; }
  FileSystem* fs() const { return fs_; }

  // Settings.
  // Opening a table also opens the group file of its name (default on).
  void set_auto_open(bool on) { auto_open_ = on; }
  bool auto_open() const { return auto_open_; }
  // Off: index creation overwrites existing files (default on).
  void set_safety(bool on) { safety_ = on; }
  bool safety() const { return safety_; }
  // 1: tables are opened with an exclusive lock, others may not write;
  // 0: shared (default).
  void set_access_mode(int mode) { access_mode_ = mode; }
  int access_mode() const { return access_mode_; }
  // Off: looking up a tag name that does not exist is no error.
  void set_missing_tag_error(bool on) { missing_tag_error_ = on; }

  // Tables. Open takes a name or path, with or without ".dbf", matched
  // without regard to case. nullptr when it fails (error recorded).
  Table* Open(const std::string& name);
  // Closes one table, writing what is pending.
  Status Close(Table* table);
  Status CloseAll();
  const std::vector<std::unique_ptr<Table>>& tables() const { return tables_; }

  // Looks a tag up; a missing name is an error unless switched off.
  Tag* FindTag(Table* table, std::string_view name);

  // Error code and message.
  int ErrorCode();  // reads and resets
  int error_code() const { return error_code_; }
  const std::string& error_message() const { return error_message_; }
  void RecordError(const Status& s, int code = kErrorIO);
  void ClearError() { error_code_ = 0; }

  // Notes that are not errors (a repaired count, a rebuilt index).
  const std::vector<std::string>& notes() const { return notes_; }
  void AddNote(std::string note) { notes_.push_back(std::move(note)); }

  // The fatal end: closes every table and calls the exit handler.
  [[noreturn]] void Exit(const std::string& message);
  // Ends the program when the error code is negative.
  void ExitTest();
  void set_exit_handler(ExitHandler handler) { exit_handler_ = std::move(handler); }

 private:
  std::string directory_;
  FileSystem* fs_;
  bool auto_open_ = true;
  bool safety_ = true;
  int access_mode_ = 0;
  bool missing_tag_error_ = true;
  int error_code_ = 0;
  std::string error_message_;
  std::vector<std::string> notes_;
  std::vector<std::unique_ptr<Table>> tables_;
  ExitHandler exit_handler_;
};

}  // namespace kpr
