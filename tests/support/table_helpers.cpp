#include "tests/support/table_helpers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "store/data_store.h"
#include "store/dbf_header.h"
#include "store/dbf_table.h"
#include "store/engine.h"
#include "store/installed_tables.h"
#include "tests/support/scripted_ui.h"

namespace kpr::testing {

DbfField Field(const std::string& name, char type, uint16_t width, uint8_t decimals) {
  DbfField f;
  f.name = name;
  f.type = type;
  f.width = width;
  f.decimals = decimals;
  return f;
}

Status MakeTable(const std::string& path, const std::vector<DbfField>& fields) {
  DbfHeader h;
  KPR_RETURN_IF_ERROR(DbfHeader::Layout(fields, &h));
  std::unique_ptr<DbfWriter> w;
  KPR_RETURN_IF_ERROR(
      DbfWriter::Start(FileSystem::Default(), path, EncodeDbfHeader(h), h.record_length, &w));
  return w->Finish();
}

namespace {
struct RebuildFailed {
  std::string message;
};
}  // namespace

Status MakeInstalledDataDir(const std::string& dir) {
  KPR_RETURN_IF_ERROR(CreateEmptyTables(FileSystem::Default(), dir));
  ScriptedUi ui;
  DataStore store(dir, &ui);
  store.engine().set_exit_handler([](const std::string& m) { throw RebuildFailed{m}; });
  try {
    store.RebuildIndexes(false);
  } catch (const RebuildFailed& e) {
    return Status::IOError("rebuilding the indexes failed: " + e.message);
  }
  return Status::OK();
}

TagDef LiveTag(const std::string& name, const std::string& expression) {
  TagDef d;
  d.name = name;
  d.file = name + ".ntx";
  d.expression = expression;
  d.filter = ".NOT. DELETED()";
  return d;
}

std::vector<uint32_t> Walk(Table* table, Tag* tag) {
  table->SelectTag(tag);
  std::vector<uint32_t> order;
  for (int r = table->Top(); r == Table::kOnRecord; r = table->Skip(1)) {
    order.push_back(table->RecNo());
    if (order.size() > table->RecCount()) {
      ADD_FAILURE() << table->file_name() << ": the walk does not end";
      break;
    }
  }
  return order;
}

std::vector<uint32_t> SortedLive(Table* table, const std::function<std::string(Table*)>& key) {
  std::vector<std::pair<std::string, uint32_t>> items;
  for (uint32_t n = 1; n <= table->RecCount(); ++n) {
    if (table->Go(n) != Table::kOnRecord) {
      ADD_FAILURE() << table->file_name() << ": record " << n << " cannot be read";
      break;
    }
    if (!table->Deleted()) items.emplace_back(key(table), n);
  }
  std::sort(items.begin(), items.end());
  std::vector<uint32_t> order;
  for (const auto& item : items) order.push_back(item.second);
  return order;
}

namespace {
std::string Acc4(Table* t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%4lld", static_cast<long long>(t->Long(t->FieldIndex("AccNo"))));
  return buf;
}
}  // namespace

std::string Exp5DateKey(Table* t) { return t->Text(t->FieldIndex("ExpDate")) + Acc4(t); }
std::string Exp5AccKey(Table* t) { return Acc4(t) + t->Text(t->FieldIndex("ExpDate")); }

void ExpectExp5TagsRight(Table* t) {
  Tag* edate = t->FindTag("EDate");
  Tag* eacc = t->FindTag("EAcc");
  ASSERT_NE(edate, nullptr) << t->file_name() << ": no tag EDate (" << t->index_problem() << ")";
  ASSERT_NE(eacc, nullptr) << t->file_name() << ": no tag EAcc (" << t->index_problem() << ")";
  EXPECT_EQ(Walk(t, edate), SortedLive(t, Exp5DateKey)) << "EDate";
  EXPECT_EQ(Walk(t, eacc), SortedLive(t, Exp5AccKey)) << "EAcc";
  t->SelectTag(nullptr);
}

void FillExp5(const std::string& dir, int n, unsigned seed) {
  std::mt19937 rng(seed);
  Engine engine(dir);
  Table* t = engine.Open("EXP5");
  ASSERT_NE(t, nullptr) << engine.error_message();
  const int date = t->FieldIndex("ExpDate"), acc = t->FieldIndex("AccNo"),
            pay = t->FieldIndex("PayTo"), amount = t->FieldIndex("Amount");
  for (int i = 0; i < n; ++i) {
    char d[16];
    std::snprintf(d, sizeof d, "%04d%02d%02d", 2000 + static_cast<int>(rng() % 25),
                  1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 28));
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->SetText(date, d).ok());
    ASSERT_TRUE(t->SetLong(acc, 1 + static_cast<int>(rng() % 40)).ok());
    ASSERT_TRUE(t->SetText(pay, "Payee " + std::to_string(i + 1)).ok());
    ASSERT_TRUE(t->SetDouble(amount, static_cast<double>(rng() % 100000) / 100).ok());
    if (i % 7 == 6) {
      ASSERT_TRUE(t->Delete().ok());
    }
  }
  ASSERT_TRUE(engine.Close(t).ok()) << engine.error_message();
}

void PatchFile(const std::string& path, uint64_t offset, const std::string& bytes) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(f.is_open()) << path;
  f.seekp(static_cast<std::streamoff>(offset));
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(f.good()) << path;
}

void TruncateFile(const std::string& path, uint64_t size) {
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0) << path;
}

void TouchLater(const std::string& path, int seconds) {
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0) << path;
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  times[1].tv_sec += seconds;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

void CopyDirFiles(const std::string& from, const std::string& to) {
  for (const auto& e : std::filesystem::directory_iterator(from)) {
    const std::filesystem::path target = std::filesystem::path(to) / e.path().filename();
    std::filesystem::copy_file(e.path(), target, std::filesystem::copy_options::overwrite_existing);
    // Keep the modification time: the group file's stamp holds it.
    struct stat st;
    ASSERT_EQ(::stat(e.path().c_str(), &st), 0);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, target.c_str(), times, 0), 0);
  }
}

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

CommandResult RunCommand(const std::string& command) {
  CommandResult r;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = ::pclose(p);
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

bool HavePythonDbfread(std::string* why) {
  if (RunCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null").exit_code == 0) return true;
  *why = "/usr/bin/python3 with dbfread is missing (Debian package python3-dbfread)";
  return false;
}

bool HavePerlXBase(std::string* why) {
  if (RunCommand("perl -MXBase -e 1 2>/dev/null").exit_code == 0) return true;
  *why = "Perl's XBase module is missing (Debian package libdbd-xbase-perl)";
  return false;
}

bool HaveOgrinfo(std::string* why) {
  if (RunCommand("ogrinfo --version >/dev/null 2>&1").exit_code == 0) return true;
  *why = "GDAL's ogrinfo is missing (Debian package gdal-bin)";
  return false;
}

namespace {

class UnsyncedFile final : public File {
 public:
  explicit UnsyncedFile(std::unique_ptr<File> base) : base_(std::move(base)) {}
  Status Read(uint64_t offset, size_t n, char* dst, size_t* got) override {
    return base_->Read(offset, n, dst, got);
  }
  Status Write(uint64_t offset, const char* src, size_t n) override {
    return base_->Write(offset, src, n);
  }
  Status Size(uint64_t* size) override { return base_->Size(size); }
  Status Truncate(uint64_t size) override { return base_->Truncate(size); }
  Status Sync() override { return Status::OK(); }
  const std::string& path() const override { return base_->path(); }

 private:
  std::unique_ptr<File> base_;
};

}  // namespace

Status UnsyncedFileSystem::Open(const std::string& path, OpenMode mode,
                                std::unique_ptr<File>* file) {
  std::unique_ptr<File> base;
  KPR_RETURN_IF_ERROR(base_->Open(path, mode, &base));
  *file = std::make_unique<UnsyncedFile>(std::move(base));
  return Status::OK();
}

}  // namespace kpr::testing
