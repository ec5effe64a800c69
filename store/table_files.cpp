// Table: opening and closing, the group file, and whole-file work (pack,
// zap, index creation).
#include <algorithm>
#include <cctype>

#include "store/engine.h"
#include "store/table.h"

namespace kpr {
namespace {

std::string Trim(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  return s.substr(i);
}

// Only two filters exist: none, and the one that leaves deleted records out.
Status ParseFilter(const std::string& filter, bool* skip_deleted) {
  std::string f;
  for (char c : filter) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      f.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  if (f.empty()) {
    *skip_deleted = false;
  } else if (f == ".NOT.DELETED()" || f == "!DELETED()") {
    *skip_deleted = true;
  } else {
    return Status::InvalidArgument("unsupported index filter '" + filter + "'");
  }
  return Status::OK();
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Size and modification time of a file, both 0 when they cannot be had.
void FileStamp(FileSystem* fs, const std::string& path, uint64_t* size, int64_t* mtime) {
  std::unique_ptr<File> f;
  if (!fs->Open(path, OpenMode::kReadOnly, &f).ok() || !f->Size(size).ok() ||
      !fs->ModTime(path, mtime).ok()) {
    *size = 0;
    *mtime = 0;
  }
}

// An index file named by a group file must lie in the table's directory: a
// name with a directory part would let a rebuild replace any file.
bool PlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

Status Table::OpenFile(const std::string& path, bool writable, bool exclusive) {
  KPR_RETURN_IF_ERROR(engine_->fs()->Lock(path, exclusive, &lock_));
  KPR_RETURN_IF_ERROR(DbfTable::Open(engine_->fs(), path, writable, &dbf_));
  SetEof();
  return Status::OK();
}

// Opens the tags the group file lists. A tag whose index file is missing,
// unreadable or out of step with the table is rebuilt; a problem that cannot
// be mended leaves that tag out and is reported (the table stays usable).
Status Table::OpenGroup() {
  FileSystem* fs = engine_->fs();
  const std::string dir = DirName(path());
  const std::string candidate = ResolvePath(fs, dir, name_ + ".cgp");
  if (!fs->Exists(candidate)) return Status::OK();
  group_path_ = candidate;
  Status s = GroupFile::Read(fs, group_path_, &group_);
  if (!s.ok()) {
    group_path_.clear();
    group_ = GroupFile();
    return s;
  }
  uint64_t size = 0;
  int64_t mtime = 0;
  fs->ModTime(path(), &mtime);
  {
    std::unique_ptr<File> probe;
    if (fs->Open(path(), OpenMode::kReadOnly, &probe).ok()) probe->Size(&size);
  }
  const bool table_in_step = !group_.open_for_writing && group_.table_size == size &&
                             group_.table_mtime == mtime;

  std::vector<Tag*> stale;
  std::string problems;
  for (const TagDef& def : group_.tags) {
    auto tag = std::make_unique<Tag>();
    tag->def = def;
    Status ts = KeyExpression::Parse(def.expression, fields(), &tag->expression);
    if (ts.ok()) ts = ParseFilter(def.filter, &tag->skip_deleted);
    if (ts.ok() && !PlainFileName(def.file)) {
      ts = Status::Corruption("index file name '" + def.file + "' is not a file name");
    }
    if (!ts.ok()) {
      problems += (problems.empty() ? "" : "; ") + group_path_ + ": tag " + def.name + ": " + ts.message();
      continue;
    }
    tag->path = ResolvePath(fs, dir, def.file);
    // The index file must be as the stamp left it: another program may
    // have cut it short or changed its bytes.
    uint64_t index_size = 0;
    int64_t index_mtime = 0;
    FileStamp(fs, tag->path, &index_size, &index_mtime);
    bool trusted = table_in_step && index_size != 0 && index_size == def.index_size &&
                   index_mtime == def.index_mtime;
    if (trusted) {
      Status os = NtxIndex::Open(fs, tag->path, dbf_->writable(), &tag->index);
      trusted = os.ok() && tag->index->version() == def.version &&
                tag->index->key_size() == tag->expression.key_size();
    }
    if (!trusted) {
      tag->index.reset();
      stale.push_back(tag.get());
    }
    tags_.push_back(std::move(tag));
  }
  if (!stale.empty()) {
    s = RebuildTags(stale);
    if (!s.ok()) {
      // Leave out what could not be rebuilt.
      tags_.erase(std::remove_if(tags_.begin(), tags_.end(),
                                 [](const auto& t) { return t->index == nullptr; }),
                  tags_.end());
      problems += (problems.empty() ? "" : "; ") + s.message();
    } else {
      engine_->AddNote(file_name() + ": index tags rebuilt because they were out of step");
    }
  }
  if (!problems.empty()) return Status::Corruption(problems);
  return Status::OK();
}

Status Table::RebuildTags(const std::vector<Tag*>& tags) {
  if (tags.empty()) return Status::OK();
  KPR_RETURN_IF_ERROR(Commit());
  KPR_RETURN_IF_ERROR(BeginWrite());
  std::vector<NtxKeyList> lists;
  for (Tag* t : tags) {
    lists.emplace_back(static_cast<uint16_t>(t->expression.key_size()));
    lists.back().Reserve(dbf_->record_count());
  }
  std::string key;
  Status s = dbf_->Scan([&](uint32_t recno, const char* rec) {
    for (size_t i = 0; i < tags.size(); ++i) {
      if (tags[i]->skip_deleted && rec[0] == '*') continue;
      key.clear();
      tags[i]->expression.Evaluate(rec, &key);
      lists[i].Add(key, recno);
    }
    return true;
  });
  for (size_t i = 0; s.ok() && i < tags.size(); ++i) {
    Tag* t = tags[i];
    t->index.reset();
    NtxMeta meta;
    meta.expression = t->def.expression;
    meta.filter = t->def.filter;
    meta.key_size = static_cast<uint16_t>(t->expression.key_size());
    meta.unique = t->def.unique;
    meta.descending = t->def.descending;
    s = NtxIndex::Build(engine_->fs(), t->path, meta, &lists[i]);
    lists[i] = NtxKeyList(1);  // free the keys early
    if (s.ok()) s = NtxIndex::Open(engine_->fs(), t->path, true, &t->index);
  }
  if (!s.ok()) {
    // None of these indexes can be used now: the one that failed is gone,
    // and the others may still hold the record numbers of a table that was
    // just rewritten. The group file stays marked open for writing, so the
    // next open rebuilds them all.
    for (Tag* t : tags) t->index.reset();
    failed_ = true;
  }
  pos_valid_ = false;
  return s;
}

// Records the stamp that says the tags are in step with the table.
Status Table::WriteGroup() {
  if (group_path_.empty()) return Status::OK();
  FileSystem* fs = engine_->fs();
  GroupFile g;
  g.open_for_writing = false;
  KPR_RETURN_IF_ERROR(fs->ModTime(path(), &g.table_mtime));
  {
    std::unique_ptr<File> probe;
    KPR_RETURN_IF_ERROR(fs->Open(path(), OpenMode::kReadOnly, &probe));
    KPR_RETURN_IF_ERROR(probe->Size(&g.table_size));
  }
  for (const auto& t : tags_) {
    TagDef d = t->def;
    d.version = t->index ? t->index->version() : 0;
    d.index_size = 0;
    d.index_mtime = 0;
    if (t->index) FileStamp(fs, t->path, &d.index_size, &d.index_mtime);
    g.tags.push_back(d);
  }
  KPR_RETURN_IF_ERROR(g.Write(fs, group_path_));
  group_ = g;
  return Status::OK();
}

Status Table::Close() {
  Status s = Commit();
  for (auto& t : tags_) {
    if (!t->index) continue;
    Status ts = t->index->Flush();
    if (!ts.ok()) {
      failed_ = true;
      if (s.ok()) s = ts;
    }
  }
  Status ds = dbf_->Flush();
  if (s.ok()) s = ds;
  if (writing_ && !failed_ && s.ok()) s = WriteGroup();
  tags_.clear();
  order_ = nullptr;
  dbf_.reset();
  lock_.reset();
  return s;
}

// Writes the table anew, keeping the live records (keep_live) or none, swaps
// it in and rebuilds every open tag.
Status Table::RewriteFile(bool keep_live) {
  KPR_RETURN_IF_ERROR(Commit());
  KPR_RETURN_IF_ERROR(BeginWrite());
  const std::string table_path = path();
  std::string header;
  KPR_RETURN_IF_ERROR(dbf_->RawHeader(&header));
  std::unique_ptr<DbfWriter> writer;
  KPR_RETURN_IF_ERROR(
      DbfWriter::Start(engine_->fs(), table_path, header, dbf_->record_length(), &writer));
  Status s;
  if (keep_live) {
    Status add;
    s = dbf_->Scan([&](uint32_t, const char* rec) {
      if (rec[0] == '*') return true;
      add = writer->Add(rec);
      return add.ok();
    });
    if (s.ok()) s = add;
  }
  if (s.ok()) s = writer->Finish();
  if (!s.ok()) {
    failed_ = true;
    return s;
  }
  // The old file is gone; open the new one (the lock moves with it).
  const bool writable = dbf_->writable();
  dbf_.reset();
  lock_.reset();
  s = engine_->fs()->Lock(table_path, engine_->access_mode() == 1, &lock_);
  if (s.ok()) s = DbfTable::Open(engine_->fs(), table_path, writable, &dbf_);
  if (!s.ok()) {
    failed_ = true;
    return s;
  }
  SetEof();
  std::vector<Tag*> all;
  for (auto& t : tags_) all.push_back(t.get());
  return RebuildTags(all);
}

Status Table::Pack() { return RewriteFile(/*keep_live=*/true); }
Status Table::Zap() { return RewriteFile(/*keep_live=*/false); }

Status Table::CreateIndex(const std::string& group_name, const std::vector<TagDef>& defs,
                          bool overwrite) {
  FileSystem* fs = engine_->fs();
  const std::string dir = DirName(path());
  std::vector<std::unique_ptr<Tag>> fresh;
  for (const TagDef& d : defs) {
    auto tag = std::make_unique<Tag>();
    tag->def = d;
    tag->def.name = Trim(d.name);
    if (tag->def.file.empty()) tag->def.file = tag->def.name + ".ntx";
    tag->path = ResolvePath(fs, dir, tag->def.file);
    tag->def.file = BaseName(tag->path);
    Status s = KeyExpression::Parse(d.expression, fields(), &tag->expression);
    if (s.ok()) s = ParseFilter(d.filter, &tag->skip_deleted);
    if (!s.ok()) return Status::InvalidArgument(tag->def.file + ": " + s.message());
    if (!overwrite && fs->Exists(tag->path)) {
      return Status::InvalidArgument(tag->path + ": file exists");
    }
    fresh.push_back(std::move(tag));
  }
  const std::string new_group = ResolvePath(fs, dir, group_name + ".cgp");
  if (!overwrite && fs->Exists(new_group)) {
    return Status::InvalidArgument(new_group + ": file exists");
  }
  KPR_RETURN_IF_ERROR(Commit());
  // Callers hold Tag pointers (the data store looks tags up one by one and
  // re-creates the group when one is missing): a tag of a name already
  // open is refilled in place rather than replaced.
  for (auto& tag : fresh) {
    for (auto& open : tags_) {
      if (open && SameName(open->def.name, tag->def.name)) {
        *open = std::move(*tag);
        tag = std::move(open);
        break;
      }
    }
  }
  tags_ = std::move(fresh);
  order_ = nullptr;
  pos_valid_ = false;
  group_path_ = new_group;
  group_ = GroupFile();
  writing_ = false;
  failed_ = false;
  std::vector<Tag*> all;
  for (auto& t : tags_) all.push_back(t.get());
  KPR_RETURN_IF_ERROR(RebuildTags(all));
  KPR_RETURN_IF_ERROR(dbf_->Flush());
  for (auto& t : tags_) KPR_RETURN_IF_ERROR(t->index->Flush());
  KPR_RETURN_IF_ERROR(WriteGroup());
  writing_ = false;
  return Status::OK();
}

}  // namespace kpr
