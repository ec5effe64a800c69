#include "tools/data_check.h"

#include <algorithm>
#include <memory>

#include "store/data_store.h"
#include "store/dbf_table.h"
#include "store/group_file.h"
#include "store/key_expression.h"
#include "store/ntx_index.h"

namespace kpr {
namespace {

constexpr int kMostPerTag = 10;

struct Item {
  std::string key;
  uint32_t recno;
  bool operator<(const Item& o) const { return key != o.key ? key < o.key : recno < o.recno; }
  bool operator==(const Item& o) const { return key == o.key && recno == o.recno; }
};

class Checker {
 public:
  explicit Checker(std::string dir) : dir_(std::move(dir)), fs_(FileSystem::Default()) {}

  std::vector<std::string> Run() {
    CheckSettings();
    for (const TableIndexes& ix : DataStore::Indexes()) CheckTable(ix);
    return std::move(problems_);
  }

 private:
  void Problem(std::string p) { problems_.push_back(std::move(p)); }

  std::unique_ptr<DbfTable> OpenTable(const std::string& name) {
    const std::string path = ResolvePath(fs_, dir_, name + ".dbf");
    std::unique_ptr<DbfTable> t;
    Status s = DbfTable::Open(fs_, path, /*writable=*/false, &t);
    if (!s.ok()) {
      Problem(s.message());
      return nullptr;
    }
    if (!t->warning().empty()) Problem(t->warning());
    return t;
  }

  void CheckSettings() {
    auto t = OpenTable("KPR1");
    if (t && t->record_count() < 1) Problem(t->path() + ": the settings table holds no record");
  }

  void CheckTable(const TableIndexes& ix) {
    auto table = OpenTable(ix.table);
    if (!table) return;
    const std::string group_path = ResolvePath(fs_, dir_, std::string(ix.group) + ".cgp");
    GroupFile group;
    bool have_group = false;
    if (!fs_->Exists(group_path)) {
      Problem(group_path + ": group file missing");
    } else {
      Status s = GroupFile::Read(fs_, group_path, &group);
      if (!s.ok()) {
        Problem(s.message());
      } else {
        have_group = true;
        CheckStamp(group_path, group, table->path());
      }
    }
    for (const TagDef& def : ix.tags) CheckTag(*table, def, have_group ? &group : nullptr);
  }

  void CheckStamp(const std::string& group_path, const GroupFile& g, const std::string& table_path) {
    uint64_t size = 0;
    int64_t mtime = 0;
    std::unique_ptr<File> f;
    if (fs_->Open(table_path, OpenMode::kReadOnly, &f).ok()) f->Size(&size);
    fs_->ModTime(table_path, &mtime);
    if (g.open_for_writing) {
      Problem(group_path + ": stale stamp (the table was not closed cleanly)");
    } else if (g.table_size != size || g.table_mtime != mtime) {
      Problem(group_path + ": stale stamp (the table changed after its indexes were written)");
    }
  }

  void CheckTag(DbfTable& table, const TagDef& def, const GroupFile* group) {
    const std::string path = ResolvePath(fs_, dir_, def.file);
    const std::string tag = BaseName(path);
    if (group != nullptr) {
      auto it = std::find_if(group->tags.begin(), group->tags.end(), [&](const TagDef& t) {
        return strcasecmp(t.name.c_str(), def.name.c_str()) == 0;
      });
      if (it == group->tags.end()) Problem(tag + ": not listed in its group file");
    }
    if (!fs_->Exists(path)) {
      Problem(path + ": index file missing");
      return;
    }
    std::unique_ptr<NtxIndex> index;
    Status s = NtxIndex::Open(fs_, path, /*writable=*/false, &index);
    if (!s.ok()) {
      Problem(s.message());
      return;
    }
    if (group != nullptr) {
      for (const TagDef& t : group->tags) {
        if (strcasecmp(t.name.c_str(), def.name.c_str()) != 0) continue;
        if (t.version != index->version()) {
          Problem(path + ": stale stamp (index version " + std::to_string(index->version()) +
                  ", group file expects " + std::to_string(t.version) + ")");
        }
        uint64_t size = 0;
        int64_t mtime = 0;
        std::unique_ptr<File> f;
        if (fs_->Open(path, OpenMode::kReadOnly, &f).ok()) f->Size(&size);
        fs_->ModTime(path, &mtime);
        if (t.index_mtime != 0 && (t.index_size != size || t.index_mtime != mtime)) {
          Problem(path + ": stale stamp (the index file changed after its group file was written)");
        }
      }
    }
    KeyExpression expr;
    s = KeyExpression::Parse(def.expression, table.fields(), &expr);
    if (!s.ok()) {
      Problem(table.path() + ": " + s.message());
      return;
    }
    if (index->key_size() != expr.key_size()) {
      Problem(path + ": key size " + std::to_string(index->key_size()) + ", expected " +
              std::to_string(expr.key_size()));
      return;
    }
    NtxKeyList held(index->key_size());
    s = index->Verify(&held);
    if (!s.ok()) {
      Problem(s.message());
      return;
    }
    std::vector<Item> want;
    std::vector<bool> deleted(table.record_count() + 1, false);
    std::string key;
    s = table.Scan([&](uint32_t recno, const char* rec) {
      deleted[recno] = rec[0] == '*';
      if (rec[0] == '*') return true;
      key.clear();
      expr.Evaluate(rec, &key);
      want.push_back({key, recno});
      return true;
    });
    if (!s.ok()) {
      Problem(s.message());
      return;
    }
    std::sort(want.begin(), want.end());
    std::vector<Item> have;
    have.reserve(held.size());
    for (size_t i = 0; i < held.size(); ++i) have.push_back({std::string(held.key(i)), held.recno(i)});
    for (size_t i = 1; i < have.size(); ++i) {
      if (have[i] < have[i - 1]) {
        Problem(path + ": keys out of order at item " + std::to_string(i + 1));
        break;
      }
    }
    std::sort(have.begin(), have.end());
    int reported = 0;
    size_t a = 0, b = 0;
    while ((a < want.size() || b < have.size()) && reported < kMostPerTag) {
      if (b == have.size() || (a < want.size() && want[a] < have[b])) {
        Problem(path + ": live record " + std::to_string(want[a].recno) + " (key '" + want[a].key +
                "') is missing");
        ++a, ++reported;
      } else if (a == want.size() || have[b] < want[a]) {
        const uint32_t r = have[b].recno;
        if (r >= 1 && r < deleted.size() && deleted[r]) {
          Problem(path + ": holds deleted record " + std::to_string(r));
        } else if (r < 1 || r >= deleted.size()) {
          Problem(path + ": holds record " + std::to_string(r) + ", which the table does not have");
        } else {
          Problem(path + ": holds record " + std::to_string(r) + " under the wrong key '" +
                  have[b].key + "'");
        }
        ++b, ++reported;
      } else {
        ++a, ++b;
      }
    }
  }

  std::string dir_;
  FileSystem* fs_;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> CheckDataDirectory(const std::string& dir) { return Checker(dir).Run(); }

}  // namespace kpr
