#include "bench/sqlite_reference.h"

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

#include "bench/row_sink.h"
#include "store/engine.h"

namespace kpr::bench {
namespace {

// An open database; closed on destruction.
class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
      const std::string msg = path + ": " + sqlite3_errmsg(db_);
      sqlite3_close(db_);
      throw std::runtime_error(msg);
    }
  }
  ~Db() { sqlite3_close(db_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  sqlite3* get() const { return db_; }
  void Exec(const std::string& sql) const {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      const std::string msg = sql + ": " + (err ? err : sqlite3_errmsg(db_));
      sqlite3_free(err);
      throw std::runtime_error(msg);
    }
  }
  void Check(int rc, const std::string& what) const {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
      throw std::runtime_error(what + ": " + sqlite3_errmsg(db_));
    }
  }

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement; finalized on destruction.
class Statement {
 public:
  Statement(const Db& db, const std::string& sql) : db_(db) {
    db.Check(sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &st_, nullptr), sql);
  }
  ~Statement() { sqlite3_finalize(st_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return st_; }
  bool Step() const {
    const int rc = sqlite3_step(st_);
    db_.Check(rc, "step");
    return rc == SQLITE_ROW;
  }

 private:
  const Db& db_;
  sqlite3_stmt* st_ = nullptr;
};

std::string TrimRight(std::string s) {
  const auto end = s.find_last_not_of(' ');
  s.resize(end == std::string::npos ? 0 : end + 1);
  return s;
}

// Copies the live records of one .dbf table into a new SQLite table.
uint64_t CopyTable(Engine& engine, const Db& db, const char* dbf_name, const char* sql_name) {
  engine.set_auto_open(false);
  Table* t = engine.Open(dbf_name);
  if (t == nullptr) throw std::runtime_error(engine.error_message());
  std::string create = std::string("CREATE TABLE ") + sql_name + "(recno INTEGER PRIMARY KEY";
  std::string insert = std::string("INSERT INTO ") + sql_name + " VALUES(?";
  std::vector<char> kinds;  // 'I' integer, 'R' real, 'T' text
  for (const auto& f : t->fields()) {
    const char kind = f.type == 'N' || f.type == 'F' ? (f.decimals == 0 ? 'I' : 'R') : 'T';
    kinds.push_back(kind);
    create += ", " + f.name + (kind == 'I' ? " INTEGER" : kind == 'R' ? " REAL" : " TEXT");
    insert += ",?";
  }
  db.Exec(create + ")");
  Statement st(db, insert + ")");
  uint64_t rows = 0;
  for (int r = t->Top(); r != Table::kEndOfFile; r = t->Skip(1)) {
    if (t->Deleted()) continue;
    sqlite3_reset(st.get());
    sqlite3_bind_int64(st.get(), 1, t->RecNo());
    for (size_t i = 0; i < kinds.size(); ++i) {
      const int field = static_cast<int>(i);
      const int param = field + 2;
      if (kinds[i] == 'I') {
        sqlite3_bind_int64(st.get(), param, t->Long(field));
      } else if (kinds[i] == 'R') {
        sqlite3_bind_double(st.get(), param, t->Double(field));
      } else {
        const std::string text = TrimRight(t->Text(field));
        sqlite3_bind_text(st.get(), param, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
      }
    }
    st.Step();
    ++rows;
  }
  if (engine.error_code() < 0) throw std::runtime_error(engine.error_message());
  engine.CloseAll();
  return rows;
}

// Writes every row of a SELECT whose first column is recno.
StepOutcome WriteRows(const Statement& st) {
  RowSink sink;
  const int columns = sqlite3_column_count(st.get());
  while (st.Step()) {
    sink.Begin(static_cast<uint64_t>(sqlite3_column_int64(st.get(), 0)));
    for (int c = 1; c < columns; ++c) {
      const unsigned char* text = sqlite3_column_text(st.get(), c);
      const int size = sqlite3_column_bytes(st.get(), c);
      sink.Field(std::string_view(reinterpret_cast<const char*>(text), text ? size : 0));
    }
    sink.End();
  }
  return sink.Outcome();
}

// Refuses a query that SQLite would answer by sorting.
void RequireIndexOrder(const Db& db, const std::string& sql) {
  Statement plan(db, "EXPLAIN QUERY PLAN " + sql);
  while (plan.Step()) {
    const std::string detail = reinterpret_cast<const char*>(sqlite3_column_text(plan.get(), 3));
    if (detail.find("TEMP B-TREE") != std::string::npos) {
      throw std::runtime_error("SQLite would sort, not use its index: " + detail);
    }
  }
}

}  // namespace

StepOutcome SqliteReference::Load(const std::string& data_dir) const {
  Db db(db_path_);
  db.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
  Engine engine(data_dir);
  StepOutcome out;
  out.rows = CopyTable(engine, db, "INC5", "inc");
  out.rows += CopyTable(engine, db, "EXP5", "exp");
  db.Exec("COMMIT");
  return out;
}

StepOutcome SqliteReference::CreateIndexes() const {
  Db db(db_path_);
  db.Exec("CREATE INDEX inc_acc_date ON inc(IncAcc, IncDate)");
  db.Exec("CREATE INDEX inc_date ON inc(IncDate)");
  db.Exec("CREATE INDEX exp_acc_date ON exp(AccNo, ExpDate)");
  db.Exec("CREATE INDEX exp_date_acc ON exp(ExpDate, AccNo)");
  return {};
}

StepOutcome SqliteReference::WalkIncomesByDate() const {
  Db db(db_path_);
  const std::string sql = "SELECT * FROM inc ORDER BY IncDate";
  RequireIndexOrder(db, sql);
  Statement st(db, sql);
  return WriteRows(st);
}

StepOutcome SqliteReference::ScanIncomeAccount(int account) const {
  Db db(db_path_);
  const std::string sql = "SELECT * FROM inc WHERE IncAcc = ? ORDER BY IncAcc, IncDate";
  RequireIndexOrder(db, sql);
  Statement st(db, sql);
  sqlite3_bind_int(st.get(), 1, account);
  return WriteRows(st);
}

}  // namespace kpr::bench
