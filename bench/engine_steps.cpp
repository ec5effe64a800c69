#include "bench/engine_steps.h"

#include <cstdio>
#include <stdexcept>

#include "bench/row_sink.h"
#include "store/data_store.h"
#include "store/engine.h"
#include "tools/console_ui.h"
#include "tools/generated_data.h"

namespace kpr::bench {
namespace {

void ThrowIfFailed(Engine& engine) {
  if (engine.error_code() < 0) throw std::runtime_error(engine.error_message());
}

Table* OpenIncomes(Engine& engine) {
  Table* t = engine.Open("INC5");
  if (t == nullptr) throw std::runtime_error(engine.error_message());
  if (!t->index_problem().empty()) throw std::runtime_error(t->index_problem());
  return t;
}

void SelectTag(Engine& engine, Table* t, const char* name) {
  Tag* tag = engine.FindTag(t, name);
  if (tag == nullptr) throw std::runtime_error(t->file_name() + ": no tag " + name);
  t->SelectTag(tag);
}

void WriteRow(Table* t, int field_count, RowSink& sink) {
  sink.Begin(t->RecNo());
  for (int i = 0; i < field_count; ++i) sink.Field(t->Text(i));
  sink.End();
}

}  // namespace

StepOutcome EngineSteps::Generate(const DataSize& size) const {
  GenerateOptions o;
  o.incomes = size.incomes;
  o.expenses = size.expenses;
  o.accounts = 40;
  o.folders = 8;
  o.years = 3;
  o.deleted = 0.02;
  o.seed = 1;
  const Status s = WriteGeneratedData(dir_, o);
  if (!s.ok()) throw std::runtime_error(s.message());
  StepOutcome out;
  out.rows = size.incomes + size.expenses;
  return out;
}

StepOutcome EngineSteps::Reindex() const {
  ConsoleUi ui;
  DataStore store(dir_, &ui);
  store.engine().set_exit_handler([](const std::string& message) {
    throw std::runtime_error(message);
  });
  store.RebuildIndexes(false);
  return {};
}

StepOutcome EngineSteps::WalkIncomesByDate() const {
  Engine engine(dir_);
  Table* t = OpenIncomes(engine);
  SelectTag(engine, t, "IncDate");
  const int fields = static_cast<int>(t->fields().size());
  RowSink sink;
  for (int r = t->Top(); r != Table::kEndOfFile; r = t->Skip(1)) WriteRow(t, fields, sink);
  ThrowIfFailed(engine);
  engine.CloseAll();
  return sink.Outcome();
}

StepOutcome EngineSteps::ScanIncomeAccount(int account) const {
  Engine engine(dir_);
  Table* t = OpenIncomes(engine);
  SelectTag(engine, t, "IncAcc");
  const int acc_field = t->FieldIndex("IncAcc");
  if (acc_field < 0) throw std::runtime_error(t->file_name() + ": no field IncAcc");
  char key[16];
  std::snprintf(key, sizeof key, "%4d", account);  // STR(IncAcc, 4, 0)
  const std::string_view want(key, 4);
  const int fields = static_cast<int>(t->fields().size());
  RowSink sink;
  for (int r = t->Seek(want); r == Table::kOnRecord && t->RawText(acc_field) == want;
       r = t->Skip(1)) {
    WriteRow(t, fields, sink);
  }
  ThrowIfFailed(engine);
  engine.CloseAll();
  return sink.Outcome();
}

StepOutcome EngineSteps::PackIncomes() const {
  Engine engine(dir_);
  engine.set_access_mode(1);
  Table* t = OpenIncomes(engine);
  const Status s = t->Pack();
  if (!s.ok()) throw std::runtime_error(s.message());
  StepOutcome out;
  out.rows = t->RecCount();
  const Status c = engine.Close(t);
  if (!c.ok()) throw std::runtime_error(c.message());
  ThrowIfFailed(engine);
  return out;
}

}  // namespace kpr::bench
