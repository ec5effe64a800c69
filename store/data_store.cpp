#include "store/data_store.h"

#include <strings.h>

#include "store/date_text.h"

namespace kpr {
namespace {

const char* const kNotDeleted = ".NOT. DELETED()";

TagDef Def(const char* name, const char* expression) {
  TagDef d;
  d.name = name;
  d.file = std::string(name) + ".ntx";
  d.expression = expression;
  d.filter = kNotDeleted;
  return d;
}

std::string Utf8(const QString& s) { return s.toStdString(); }
QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

const char* Logical(bool v) { return v ? "T" : "F"; }

}  // namespace

const std::vector<TableIndexes>& DataStore::Indexes() {
  static const std::vector<TableIndexes> indexes = {
      {"ACC", "Acc", {Def("AccTag", "STR(ACCNO, 4)")}, {"AccTag.ntx", "Acc.cgp"}},
      {"ACCI", "AccI", {Def("AccITag", "STR(ACCNO, 4)")}, {"AccITag.ntx", "AccI.cgp"}},
      {"FOLDER", "Folder", {Def("FolTag", "FOLNO")}, {"FolTag.ntx", "Folder.cgp"}},
      {"EXP5",
       "exp5",
       {Def("EDate", "DTOS(EXPDATE) + STR(ACCNO,4)"), Def("EAcc", "STR(ACCNO,4) + DTOS(EXPDATE)")},
       {"EDate.ntx", "EAcc.ntx", "Exp5.cgp"}},
      {"INC5",
       "INC5",
       {Def("IncDate", "DTOS(INCDATE)"), Def("IncAcc", "Str(IncAcc,4,0)+DTOS(INCDATE)")},
       {"IncDate.ntx", "IncAcc.ntx", "INC5.cgp"}},
  };
  return indexes;
}

DataStore::DataStore(std::string directory, UiServices* ui, FileSystem* fs)
    : engine_(std::move(directory), fs), ui_(ui) {}

bool DataStore::DataFilesPresent() {
  for (const char* name : {"KPR1.dbf", "ACC.dbf", "EXP5.dbf", "FOLDER.dbf", "INC5.dbf", "ACCI.dbf"}) {
    if (!engine_.fs()->Exists(ResolvePath(engine_.fs(), directory(), name))) return false;
  }
  return true;
}

void DataStore::OpenFailure(const QString& file) {
  ui_->Inform("Unable to open file " + file + "\nProgram will now terminate.");
  engine_.Exit("Unable to open file " + Utf8(file) +
               (engine_.error_message().empty() ? "" : " (" + engine_.error_message() + ")"));
}

Table* DataStore::OpenTable(const char* name, const QString& file_name) {
  Table* t = engine_.Open(name);
  if (engine_.ErrorCode() < 0 || t == nullptr) OpenFailure(file_name);
  return t;
}

int DataStore::Bind(Table* table, const char* field, const QString& file_name) {
  const int f = table->FieldIndex(field);
  if (f < 0) {
    engine_.RecordError(Status::NotFound(table->file_name() + ": no field " + field),
                        Engine::kErrorOpen);
    OpenFailure(file_name);
  }
  return f;
}

// Looks a tag up. A tag that is missing because the group file was damaged
// is re-created once from the definitions before the program gives up.
Tag* DataStore::FindTag(Table* table, const char* tag, const QString& index_file, bool test_error) {
  Tag* t = table->FindTag(tag);
  if (t == nullptr) {
    for (const auto& ix : Indexes()) {
      if (strcasecmp(table->name().c_str(), ix.table) == 0) {
        Status s = table->CreateIndex(ix.group, ix.tags, /*overwrite=*/true);
        if (s.ok()) {
          engine_.AddNote(table->file_name() + ": index files re-created");
        } else {
          engine_.AddNote(s.message());
        }
        break;
      }
    }
  }
  t = engine_.FindTag(table, tag);
  if (test_error && engine_.ErrorCode() < 0) OpenFailure(index_file);
  return t;
}

bool DataStore::OpenIncomes() {
  const QString file = "INC5.DBF";
  inc5 = OpenTable("INC5", file);
  inc_f = {Bind(inc5, "IncAcc", file), Bind(inc5, "IncImp", file),  Bind(inc5, "IncDate", file),
           Bind(inc5, "IncDesc", file), Bind(inc5, "IncAmt", file), Bind(inc5, "FolNo", file),
           Bind(inc5, "Archive", file)};
  tag_inc_date = FindTag(inc5, "IncDate", "IncDate.Ntx", true);
  tag_inc_acc = FindTag(inc5, "IncAcc", "IncAcc.Ntx", true);
  inc5->SelectTag(tag_inc_date);
  LastResult = inc5->Top();
  return true;
}

bool DataStore::OpenExpenses() {
  const QString file = "EXP5.DBF";
  exp5 = OpenTable("EXP5", file);
  exp_f = {Bind(exp5, "ExpDate", file), Bind(exp5, "CheckNo", file), Bind(exp5, "AccNo", file),
           Bind(exp5, "FolNo", file),   Bind(exp5, "PayTo", file),   Bind(exp5, "Amount", file),
           Bind(exp5, "EMemo", file),   Bind(exp5, "Archive", file)};
  tag_exp_date = FindTag(exp5, "eDate", "eDate.Ntx", true);
  tag_exp_acc = FindTag(exp5, "eAcc", "eAcc.Ntx", true);
  exp5->SelectTag(tag_exp_date);
  LastResult = exp5->Top();
  return true;
}

bool DataStore::OpenExpenseAccounts() {
  const QString file = "ACC.DBF";
  acc = OpenTable("ACC", file);
  acc_f = {Bind(acc, "AccNo", file), Bind(acc, "AcDesc", file), Bind(acc, "AcDed", file)};
  tag_acc = FindTag(acc, "AccTag", "AccTag.Ntx", false);
  acc->SelectTag(tag_acc);
  if (engine_.ErrorCode() < 0) OpenFailure("AccTag.Ntx");
  LastResult = acc->Top();
  return true;
}

bool DataStore::OpenIncomeAccounts() {
  const QString file = "ACCI.DBF";
  acci = OpenTable("ACCI", file);
  acci_f = {Bind(acci, "AccNo", file), Bind(acci, "AcDesc", file), Bind(acci, "AcDed", file)};
  tag_acci = FindTag(acci, "AcciTag", "AcciTag.Ntx", false);
  acci->SelectTag(tag_acci);
  if (engine_.ErrorCode() < 0) OpenFailure("AcciTag.Ntx");
  LastResult = acci->Top();
  return true;
}

bool DataStore::OpenFolders() {
  const QString file = "FOLDER.DBF";
  folder = OpenTable("FOLDER", file);
  fol_f = {Bind(folder, "FolNo", file), Bind(folder, "FolName", file)};
  tag_folder = FindTag(folder, "FolTag", "FolTag.Ntx", false);
  folder->SelectTag(tag_folder);
  if (engine_.ErrorCode() < 0) OpenFailure("FolTag.Ntx");
  LastResult = folder->Top();
  return true;
}

bool DataStore::OpenSettings() {
  const QString file = "KPR1.DBF";
  engine_.set_auto_open(false);
  kpr1 = engine_.Open("KPR1");
  engine_.set_auto_open(true);
  if (engine_.ErrorCode() < 0 || kpr1 == nullptr) OpenFailure(file);
  set_f = {Bind(kpr1, "UName", file), Bind(kpr1, "FyMonth", file), Bind(kpr1, "FyDay", file),
           Bind(kpr1, "FontName", file), Bind(kpr1, "FontSize", file)};
  LastResult = kpr1->Top();
  return true;
}

void DataStore::ForgetHandles() {
  inc5 = exp5 = acc = acci = folder = kpr1 = nullptr;
  tag_inc_date = tag_inc_acc = tag_exp_date = tag_exp_acc = nullptr;
  tag_acc = tag_acci = tag_folder = nullptr;
}

void DataStore::CloseAll() {
  engine_.CloseAll();
  ForgetHandles();
}

void DataStore::LoadIncome() {
  Table* t = inc5;
  Income.IncAcc = static_cast<int>(t->Long(inc_f.IncAcc));
  Income.IncDate = YmdToDate(FromUtf8(t->Text(inc_f.IncDate)));
  Income.IncDesc = FromUtf8(t->Text(inc_f.IncDesc));
  Income.IncAmt = t->Double(inc_f.IncAmt);
  Income.FolNo = static_cast<int>(t->Long(inc_f.FolNo));
  Income.IncImp = t->True(inc_f.IncImp);
  Income.Archive = t->True(inc_f.Archive);
}

void DataStore::LoadExpense() {
  Table* t = exp5;
  Expense.ExpDate = YmdToDate(FromUtf8(t->Text(exp_f.ExpDate)));
  Expense.CheckNo = static_cast<int32_t>(t->Long(exp_f.CheckNo));
  Expense.AccNo = static_cast<int>(t->Long(exp_f.AccNo));
  Expense.FolNo = static_cast<int>(t->Long(exp_f.FolNo));
  Expense.PayTo = FromUtf8(t->Text(exp_f.PayTo));
  Expense.Amount = t->Double(exp_f.Amount);
  Expense.EMemo = FromUtf8(t->Text(exp_f.EMemo));
  Expense.Archive = t->True(exp_f.Archive);
}

void DataStore::LoadExpenseAccount() {
  ExpenseAccount.AccNo = static_cast<int>(acc->Long(acc_f.AccNo));
  ExpenseAccount.AcDesc = FromUtf8(acc->Text(acc_f.AcDesc));
  ExpenseAccount.AcDed = acc->True(acc_f.AcDed);
}

void DataStore::LoadIncomeAccount() {
  IncomeAccount.AccNo = static_cast<int>(acci->Long(acci_f.AccNo));
  IncomeAccount.AcDesc = FromUtf8(acci->Text(acci_f.AcDesc));
  IncomeAccount.AcDed = acci->True(acci_f.AcDed);
}

void DataStore::LoadFolder() {
  Folder.FolNo = static_cast<int>(folder->Long(fol_f.FolNo));
  Folder.FolName = FromUtf8(folder->Text(fol_f.FolName));
}

void DataStore::LoadSettings() {
  Settings.UName = FromUtf8(kpr1->Text(set_f.UName));
  Settings.FyMonth = static_cast<int>(kpr1->Long(set_f.FyMonth));
  Settings.FyDay = static_cast<int>(kpr1->Long(set_f.FyDay));
  Settings.FontName = FromUtf8(kpr1->Text(set_f.FontName));
  Settings.FontSize = static_cast<int>(kpr1->Long(set_f.FontSize));
}

// All or nothing: a refused assignment takes back the ones before it.
Status DataStore::Finish(Table* table, const std::string& before, Status s) {
  if (!s.ok()) {
    table->RestoreImage(before);
    engine_.RecordError(s, Engine::kErrorValue);
  }
  return s;
}

Status DataStore::StoreIncome() {
  const std::string date = Utf8(DateToYmd(Income.IncDate));  // may throw: nothing assigned yet
  Table* t = inc5;
  const std::string before = t->image();
  Status s = t->SetLong(inc_f.IncAcc, Income.IncAcc);
  if (s.ok()) s = t->SetText(inc_f.IncImp, Logical(Income.IncImp));
  if (s.ok()) s = t->SetText(inc_f.IncDate, date);
  if (s.ok()) s = t->SetText(inc_f.IncDesc, Utf8(Income.IncDesc));
  if (s.ok()) s = t->SetDouble(inc_f.IncAmt, Income.IncAmt);
  if (s.ok()) s = t->SetLong(inc_f.FolNo, Income.FolNo);
  if (s.ok()) s = t->SetText(inc_f.Archive, Logical(Income.Archive));
  return Finish(t, before, s);
}

Status DataStore::StoreExpense() {
  const std::string date = Utf8(DateToYmd(Expense.ExpDate));
  Table* t = exp5;
  const std::string before = t->image();
  Status s = t->SetText(exp_f.ExpDate, date);
  if (s.ok()) s = t->SetLong(exp_f.CheckNo, Expense.CheckNo);
  if (s.ok()) s = t->SetLong(exp_f.AccNo, Expense.AccNo);
  if (s.ok()) s = t->SetLong(exp_f.FolNo, Expense.FolNo);
  if (s.ok()) s = t->SetText(exp_f.PayTo, Utf8(Expense.PayTo));
  if (s.ok()) s = t->SetDouble(exp_f.Amount, Expense.Amount);
  if (s.ok()) s = t->SetText(exp_f.EMemo, Utf8(Expense.EMemo));
  if (s.ok()) s = t->SetText(exp_f.Archive, Logical(Expense.Archive));
  return Finish(t, before, s);
}

static Status StoreAccount(Table* t, const DataStore::AccountFields& f, const AccountRecord& r) {
  Status s = t->SetLong(f.AccNo, r.AccNo);
  if (s.ok()) s = t->SetText(f.AcDesc, Utf8(r.AcDesc));
  if (s.ok()) s = t->SetText(f.AcDed, Logical(r.AcDed));
  return s;
}

Status DataStore::StoreExpenseAccount() {
  const std::string before = acc->image();
  return Finish(acc, before, StoreAccount(acc, acc_f, ExpenseAccount));
}

Status DataStore::StoreIncomeAccount() {
  const std::string before = acci->image();
  return Finish(acci, before, StoreAccount(acci, acci_f, IncomeAccount));
}

Status DataStore::StoreFolder() {
  const std::string before = folder->image();
  Status s = folder->SetLong(fol_f.FolNo, Folder.FolNo);
  if (s.ok()) s = folder->SetText(fol_f.FolName, Utf8(Folder.FolName));
  return Finish(folder, before, s);
}

Status DataStore::StoreSettings() {
  Table* t = kpr1;
  const std::string before = t->image();
  Status s = t->SetText(set_f.UName, Utf8(Settings.UName.left(59)));
  if (s.ok()) s = t->SetLong(set_f.FyMonth, Settings.FyMonth);
  if (s.ok()) s = t->SetLong(set_f.FyDay, Settings.FyDay);
  if (s.ok()) s = t->SetText(set_f.FontName, Utf8(Settings.FontName.left(59)));
  if (s.ok()) s = t->SetLong(set_f.FontSize, Settings.FontSize);
  return Finish(t, before, s);
}

int DataStore::NextFolderNumber() {
  LastResult = folder->Top();
  int candidate = 1;
  while (LastResult != Table::kEndOfFile) {
    const int64_t n = folder->Long(fol_f.FolNo);
    // Numbers below the candidate (a folder 0, or one number twice) are
    // passed over, so the result is never a number in use.
    if (n > candidate) return candidate;
    if (n == candidate) ++candidate;
    LastResult = folder->Skip(1);
  }
  return candidate;
}

void DataStore::RebuildIndexes(bool only_missing) {
  static const int kProgressAfter[] = {35, 45, 50, 80, 100};
  engine_.set_auto_open(false);
  engine_.set_safety(false);
  engine_.set_access_mode(1);
  if (!only_missing) {
    ui_->ShowProgress(true, "Rebuilding Indexes");
    ui_->SetProgress(20);
  }
  int step = 0;
  for (const TableIndexes& ix : Indexes()) {
    bool rebuild = !only_missing;
    for (const char* f : ix.files) {
      if (!engine_.fs()->Exists(ResolvePath(engine_.fs(), directory(), f))) rebuild = true;
    }
    if (rebuild) {
      Table* t = engine_.Open(ix.table);
      engine_.ExitTest();
      Status s = t->CreateIndex(ix.group, ix.tags, !engine_.safety());
      if (!s.ok()) engine_.RecordError(s);
      engine_.ExitTest();
      CloseAll();
      engine_.ExitTest();
    }
    if (!only_missing) ui_->SetProgress(kProgressAfter[step]);
    ++step;
  }
  engine_.set_auto_open(true);
  engine_.set_safety(true);
  engine_.set_access_mode(0);
  if (!only_missing) ui_->ShowProgress(false, "");
}

}  // namespace kpr
