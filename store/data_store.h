// The data store: the program's only road to its six tables in the data
// directory. Open routines open a table, bind its fields and select its tag;
// load and store routines move the current record to and from its record
// buffer. No table stays open between two user actions: the operation that
// opened tables closes them all (CloseAll).
//
// A table or tag that cannot be opened ends the program through
// OpenFailure, so the open routines return true whenever they return.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "store/engine.h"
#include "store/record_buffers.h"
#include "store/ui_services.h"

namespace kpr {

// The index tags of one table, as the data store creates them.
struct TableIndexes {
  const char* table;       // "ACC"
  const char* group;       // group file name without extension, as created
  std::vector<TagDef> tags;
  std::vector<const char*> files;  // the files whose absence calls for a rebuild
};

class DataStore {
 public:
  // directory: the data directory (the program's current directory).
  DataStore(std::string directory, UiServices* ui, FileSystem* fs = FileSystem::Default());

  Engine& engine() { return engine_; }
  UiServices& ui() { return *ui_; }
  const std::string& directory() const { return engine_.directory(); }

  // True when the six tables exist in the data directory.
  bool DataFilesPresent();

  bool OpenIncomes();
  bool OpenExpenses();
  bool OpenExpenseAccounts();
  bool OpenIncomeAccounts();
  bool OpenFolders();
  bool OpenSettings();
  // Closes every open table (the end of each operation).
  void CloseAll();

  // Current record into the record buffer.
  void LoadIncome();
  void LoadExpense();
  void LoadExpenseAccount();
  void LoadIncomeAccount();
  void LoadFolder();
  void LoadSettings();

  // Record buffer into the current record. A value the record cannot hold
  // (a number too wide for its field) changes nothing in the record and is
  // returned, and also left in the engine's error code.
  Status StoreIncome();
  Status StoreExpense();
  Status StoreExpenseAccount();
  Status StoreIncomeAccount();
  Status StoreFolder();
  Status StoreSettings();

  // Lowest folder number from 1 that no live folder uses. REQUIRES: FOLDER
  // open; it stays positioned where the scan stopped.
  int NextFolderNumber();

  // Re-creates index and group files: all of them (only_missing false, with
  // the progress box "Rebuilding Indexes"), or those of each table one of
  // whose files is missing.
  void RebuildIndexes(bool only_missing);

  // Shows "Unable to open file <file>" and ends the program.
  [[noreturn]] void OpenFailure(const QString& file);

  // The index definitions of the five indexed tables, in rebuild order.
  static const std::vector<TableIndexes>& Indexes();

  // Program-wide state.
  int LastResult = 0;        // result of the last positioning call
  bool PackPending = false;  // records were marked deleted: pack at exit

  IncomeRecord Income;
  ExpenseRecord Expense;
  AccountRecord ExpenseAccount;
  AccountRecord IncomeAccount;
  FolderRecord Folder;
  SettingsRecord Settings;

  // Table handles, valid from their open routine to CloseAll.
  Table* inc5 = nullptr;
  Table* exp5 = nullptr;
  Table* acc = nullptr;
  Table* acci = nullptr;
  Table* folder = nullptr;
  Table* kpr1 = nullptr;
  // Tag handles.
  Tag* tag_inc_date = nullptr;
  Tag* tag_inc_acc = nullptr;
  Tag* tag_exp_date = nullptr;
  Tag* tag_exp_acc = nullptr;
  Tag* tag_acc = nullptr;
  Tag* tag_acci = nullptr;
  Tag* tag_folder = nullptr;

  // Field handles (field numbers of the open tables).
  struct IncomeFields { int IncAcc, IncImp, IncDate, IncDesc, IncAmt, FolNo, Archive; } inc_f{};
  struct ExpenseFields {
    int ExpDate, CheckNo, AccNo, FolNo, PayTo, Amount, EMemo, Archive;
  } exp_f{};
  struct AccountFields { int AccNo, AcDesc, AcDed; } acc_f{}, acci_f{};
  struct FolderFields { int FolNo, FolName; } fol_f{};
  struct SettingsFields { int UName, FyMonth, FyDay, FontName, FontSize; } set_f{};

 private:
  Table* OpenTable(const char* name, const QString& file_name);
  int Bind(Table* table, const char* field, const QString& file_name);
  Tag* FindTag(Table* table, const char* tag, const QString& index_file, bool test_error);
  void ForgetHandles();
  Status Finish(Table* table, const std::string& before, Status s);

  Engine engine_;
  UiServices* ui_;
};

}  // namespace kpr
