// An open table: the current record, field access, positioning in record
// order or in the order of a selected index tag, and the upkeep of every
// open tag as records change.
//
// Positioning results: kOnRecord (0), kNotExact (2: a seek found no exact
// key and stopped on the next one), kEndOfFile (3). At end of file the
// current record is a blank phantom numbered record_count + 1. Skipping back
// past the first record stays on it and reports kEndOfFile with Bof() true.
//
// A changed current record is written, and the tags brought up to date, when
// the table moves to another record, on Flush and on close.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/dbf_table.h"
#include "store/group_file.h"
#include "store/key_expression.h"
#include "store/ntx_index.h"

namespace kpr {

class Engine;

// An index tag open on a table.
struct Tag {
  TagDef def;
  std::string path;  // the .ntx file
  KeyExpression expression;
  bool skip_deleted = false;  // the filter ".NOT. DELETED()"
  std::unique_ptr<NtxIndex> index;
};

class Table {
 public:
  static constexpr int kOnRecord = 0;
  static constexpr int kNotExact = 2;
  static constexpr int kEndOfFile = 3;

  ~Table();

  const std::string& name() const { return name_; }
  const std::string& path() const { return dbf_->path(); }
  // The file name as the user knows it ("INC5.dbf"), for messages.
  std::string file_name() const;

  // Fields. FieldIndex is -1 when the table has no such field.
  const std::vector<DbfField>& fields() const { return dbf_->fields(); }
  int FieldIndex(std::string_view name) const;

  // Tags. FindTag compares names without regard to case; nullptr when none.
  Tag* FindTag(std::string_view name);
  // nullptr selects record order.
  void SelectTag(Tag* tag);
  Tag* selected_tag() const { return order_; }
  const std::vector<std::unique_ptr<Tag>>& tags() const { return tags_; }
  // Why the tags could not all be opened (empty when they were).
  const std::string& index_problem() const { return index_problem_; }

  // Positioning; each returns one of the results above. Errors are recorded
  // in the engine and end the walk with kEndOfFile.
  int Top();
  int Bottom();
  int Skip(long n = 1);
  int Go(uint32_t recno);
  // key: leading characters of the selected tag's key (UTF-8).
  int Seek(std::string_view key);

  // The record numbers of every record in the selected tag's order, read
  // from the index alone (a pending change is written first). For callers
  // that then read the fields they need in record order: on a table larger
  // than the record cache that is far cheaper than reading every record in
  // key order. The current record does not change.
  // REQUIRES: a tag is selected.
  Status OrderedRecNos(std::vector<uint32_t>* out);

  uint32_t RecNo() const { return recno_; }
  uint32_t RecCount() const { return dbf_->record_count(); }
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }

  // The current record.
  bool Deleted() const { return !eof_ && record_[0] == '*'; }
  Status Delete();
  Status Recall();
  // Appends a blank record and makes it current.
  Status AppendBlank();
  // Rereads the table's header and the current record from the file.
  Status Refresh();
  // Writes the current record if it changed and updates the tags.
  Status Flush();
  // The current record's bytes as changed so far, and putting such an image
  // back (to undo assignments that must not stand alone).
  const std::string& image() const { return record_; }
  void RestoreImage(const std::string& image);

  // Field values of the current record (blank at end of file).
  std::string Text(int field) const;          // UTF-8, blank-padded as stored
  std::string_view RawText(int field) const;  // stored bytes
  int64_t Long(int field) const;
  double Double(int field) const;
  bool True(int field) const;

  // Assignments. Text is cut to the field's width; a number that does not
  // fit its field is refused with InvalidArgument naming the table, record
  // and field, and the record is left unchanged.
  Status SetText(int field, std::string_view utf8);
  Status SetLong(int field, int64_t value);
  Status SetDouble(int field, double value);
  Status SetLogical(int field, bool value);

  // Removes the records marked deleted (Pack) or all records (Zap): a new
  // file is written and swapped in, then every open tag is rebuilt.
  Status Pack();
  Status Zap();

  // Creates the group file group_name.cgp with the given tags, building
  // each index from the table; the new tags replace the open ones. A tag
  // whose name was open already keeps its Tag object, so pointers to it
  // stay valid; pointers to the other open tags do not.
  // overwrite false: existing files are not replaced (InvalidArgument).
  Status CreateIndex(const std::string& group_name, const std::vector<TagDef>& defs,
                     bool overwrite);

  // Rebuilds the given open tags from the table.
  Status RebuildTags(const std::vector<Tag*>& tags);

  DbfTable* dbf() { return dbf_.get(); }

 private:
  friend class Engine;
  Table(Engine* engine, std::string name);

  // Open-time work, called by the engine.
  Status OpenFile(const std::string& path, bool writable, bool exclusive);
  Status OpenGroup();
  Status Close();

  int Fail(const Status& s);
  int GoToEnd(bool first);
  Status Commit();
  Status BeginWrite();
  Status LoadRecord(uint32_t recno);
  void SetEof();
  int PositionAt(const NtxPosition& pos);
  Status SyncPosition();
  Status OrderUsable() const;
  Status CheckField(int field) const;
  Status PutField(int field, const std::string& bytes);
  template <typename Format>
  Status PutNumber(int field, const std::string& shown, Format&& format);
  Status RewriteFile(bool keep_live);
  Status WriteGroup();
  std::string TagKey(const Tag& tag, const std::string& record) const;
  bool InTag(const Tag& tag, const std::string& record) const;

  Engine* engine_;
  std::string name_;
  std::unique_ptr<DbfTable> dbf_;
  std::unique_ptr<FileLock> lock_;
  std::string group_path_;  // "" when the table has no group file
  GroupFile group_;
  std::vector<std::unique_ptr<Tag>> tags_;
  Tag* order_ = nullptr;
  std::string index_problem_;

  uint32_t recno_ = 0;
  bool eof_ = true;
  bool bof_ = false;
  std::string record_;    // current record as changed
  std::string original_;  // current record as stored and indexed
  bool original_indexed_ = true;  // false for a fresh append not yet in the tags
  bool dirty_ = false;
  NtxPosition pos_;       // place in order_'s index, when pos_valid_
  bool pos_valid_ = false;

  bool writing_ = false;  // the group file is marked open for writing
  bool failed_ = false;   // a write failed: the tags stay marked untrusted
};

}  // namespace kpr
