#include "store/table.h"

#include <algorithm>
#include <cctype>

#include "store/codepage.h"
#include "store/dbf_value.h"
#include "store/engine.h"

namespace kpr {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

Table::Table(Engine* engine, std::string name) : engine_(engine), name_(std::move(name)) {}

Table::~Table() = default;

std::string Table::file_name() const { return BaseName(path()); }

int Table::FieldIndex(std::string_view name) const {
  const auto& f = fields();
  for (size_t i = 0; i < f.size(); ++i) {
    if (EqualNoCase(f[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

Tag* Table::FindTag(std::string_view name) {
  for (auto& t : tags_) {
    if (EqualNoCase(t->def.name, name)) return t.get();
  }
  return nullptr;
}

void Table::SelectTag(Tag* tag) {
  order_ = tag;
  pos_valid_ = false;
}

int Table::Fail(const Status& s) {
  engine_->RecordError(s);
  SetEof();
  return kEndOfFile;
}

void Table::SetEof() {
  eof_ = true;
  recno_ = dbf_->record_count() + 1;
  record_.assign(dbf_->record_length(), ' ');
  original_ = record_;
  dirty_ = false;
  pos_valid_ = false;
}

Status Table::LoadRecord(uint32_t recno) {
  record_.resize(dbf_->record_length());
  KPR_RETURN_IF_ERROR(dbf_->Read(recno, record_.data()));
  original_ = record_;
  original_indexed_ = true;
  recno_ = recno;
  eof_ = false;
  bof_ = false;
  dirty_ = false;
  return Status::OK();
}

std::string Table::TagKey(const Tag& tag, const std::string& record) const {
  std::string key;
  tag.expression.Evaluate(record.data(), &key);
  return key;
}

bool Table::InTag(const Tag& tag, const std::string& record) const {
  return !(tag.skip_deleted && record[0] == '*');
}

// Marks the group file open for writing before the first change, so that a
// crash at any later point leaves the tags marked untrusted.
Status Table::BeginWrite() {
  if (writing_) return Status::OK();
  if (!dbf_->writable()) return Status::IOError(file_name() + ": the table is open for reading only");
  if (!group_path_.empty()) {
    GroupFile g = group_;
    g.open_for_writing = true;
    KPR_RETURN_IF_ERROR(g.Write(engine_->fs(), group_path_));
    group_.open_for_writing = true;
  }
  writing_ = true;
  return Status::OK();
}

Status Table::Commit() {
  if (!dirty_ || eof_) return Status::OK();
  Status s = BeginWrite();
  if (s.ok()) s = dbf_->Write(recno_, record_.data());
  if (!s.ok()) {
    failed_ = true;
    // The file may or may not hold the change: show what it holds.
    dirty_ = false;
    if (LoadRecord(recno_).ok()) original_indexed_ = false;
    return s;
  }
  for (auto& tag : tags_) {
    if (!tag->index) continue;  // failed to rebuild: untrusted until the next open
    const bool was_in = original_indexed_ && InTag(*tag, original_);
    const bool now_in = InTag(*tag, record_);
    const std::string old_key = TagKey(*tag, original_);
    const std::string new_key = TagKey(*tag, record_);
    if (was_in && now_in && old_key == new_key) continue;
    if (was_in) s = tag->index->Remove(old_key, recno_);
    if (s.ok() && now_in) s = tag->index->Insert(new_key, recno_);
    if (!s.ok()) {
      failed_ = true;
      return s;
    }
    if (tag.get() == order_) pos_valid_ = false;
  }
  original_ = record_;
  original_indexed_ = true;
  dirty_ = false;
  return Status::OK();
}

Status Table::Flush() { return Commit(); }

void Table::RestoreImage(const std::string& image) {
  if (eof_ || image.size() != record_.size()) return;
  record_ = image;
  // A fresh append still has to get its keys into the tags.
  dirty_ = record_ != original_ || !original_indexed_;
}

int Table::PositionAt(const NtxPosition& pos) {
  if (!pos.valid) {
    SetEof();
    return kEndOfFile;
  }
  Status s = LoadRecord(pos.recno);
  if (!s.ok()) return Fail(s);
  pos_ = pos;
  pos_valid_ = true;
  return kOnRecord;
}

// The selected tag's index, when it could not be rebuilt, is gone until the
// table is opened again (which rebuilds it).
Status Table::OrderUsable() const {
  if (order_ == nullptr || order_->index) return Status::OK();
  return Status::IOError(file_name() + ": index tag " + order_->def.name +
                         " is unusable after a failed rebuild; open the table again");
}

int Table::Top() { return GoToEnd(/*first=*/true); }
int Table::Bottom() { return GoToEnd(/*first=*/false); }

// The first or the last record in the current order.
int Table::GoToEnd(bool first) {
  Status s = Commit();
  if (!s.ok()) return Fail(s);
  bof_ = false;
  if (order_ == nullptr) {
    if (dbf_->record_count() == 0) {
      SetEof();
      return kEndOfFile;
    }
    s = LoadRecord(first ? 1 : dbf_->record_count());
    return s.ok() ? kOnRecord : Fail(s);
  }
  if (s = OrderUsable(); !s.ok()) return Fail(s);
  NtxPosition pos;
  s = first ? order_->index->First(&pos) : order_->index->Last(&pos);
  return s.ok() ? PositionAt(pos) : Fail(s);
}

int Table::Go(uint32_t recno) {
  Status s = Commit();
  if (!s.ok()) return Fail(s);
  pos_valid_ = false;
  bof_ = false;
  if (recno < 1 || recno > dbf_->record_count()) {
    SetEof();
    return kEndOfFile;
  }
  s = LoadRecord(recno);
  return s.ok() ? kOnRecord : Fail(s);
}

// Brings pos_ to the current record's place in the selected tag. A record
// that is not in the tag (marked deleted) gets the place of the first item
// after its key; pos_ then already stands on the "next" item.
Status Table::SyncPosition() {
  if (pos_valid_) return Status::OK();
  const std::string key = TagKey(*order_, record_);
  KPR_RETURN_IF_ERROR(order_->index->Seek(key, recno_, &pos_));
  pos_valid_ = true;
  return Status::OK();
}

Status Table::OrderedRecNos(std::vector<uint32_t>* out) {
  out->clear();
  Status s = Commit();
  if (s.ok() && order_ == nullptr) {
    s = Status::InvalidArgument(file_name() + ": no index tag selected");
  }
  if (s.ok()) s = OrderUsable();
  NtxPosition pos;
  if (s.ok()) s = order_->index->First(&pos);
  while (s.ok() && pos.valid) {
    out->push_back(pos.recno);
    s = order_->index->Next(&pos);
  }
  return s;
}

int Table::Skip(long n) {
  Status s = Commit();
  if (!s.ok()) return Fail(s);
  if (n == 0) return eof_ ? kEndOfFile : kOnRecord;
  if (order_ == nullptr) {
    const int64_t target = static_cast<int64_t>(eof_ ? dbf_->record_count() + 1 : recno_) + n;
    bof_ = false;
    if (target > static_cast<int64_t>(dbf_->record_count())) {
      SetEof();
      return kEndOfFile;
    }
    if (target < 1) {
      if (dbf_->record_count() == 0) {
        SetEof();
        return kEndOfFile;
      }
      s = LoadRecord(1);
      bof_ = true;
      return s.ok() ? kEndOfFile : Fail(s);
    }
    s = LoadRecord(static_cast<uint32_t>(target));
    return s.ok() ? kOnRecord : Fail(s);
  }

  if (s = OrderUsable(); !s.ok()) return Fail(s);
  NtxPosition pos;
  if (eof_) {
    if (n > 0) return kEndOfFile;
    s = order_->index->Last(&pos);
    ++n;
  } else {
    s = SyncPosition();
    pos = pos_;
    // A current record outside the tag already stands on its successor.
    if (s.ok() && n > 0 && pos.valid && pos.recno != recno_) --n;
  }
  while (s.ok() && n > 0 && pos.valid) {
    s = order_->index->Next(&pos);
    --n;
  }
  while (s.ok() && n < 0) {
    if (pos.valid) {
      s = order_->index->Prev(&pos);
    } else {
      s = order_->index->Last(&pos);
    }
    ++n;
    if (s.ok() && !pos.valid) {  // before the first item
      s = order_->index->First(&pos);
      if (!s.ok()) break;
      int r = PositionAt(pos);
      bof_ = true;
      return r == kOnRecord ? kEndOfFile : r;
    }
  }
  if (!s.ok()) return Fail(s);
  bof_ = false;
  return PositionAt(pos);
}

int Table::Seek(std::string_view key) {
  Status s = Commit();
  if (!s.ok()) return Fail(s);
  bof_ = false;
  if (order_ == nullptr) {
    return Fail(Status::InvalidArgument(file_name() + ": seek needs a selected index tag"));
  }
  if (s = OrderUsable(); !s.ok()) return Fail(s);
  std::string raw = Utf8ToCp1252(key);
  if (raw.size() > order_->index->key_size()) raw.resize(order_->index->key_size());
  NtxPosition pos;
  s = order_->index->Seek(raw, 0, &pos);
  if (!s.ok()) return Fail(s);
  const int r = PositionAt(pos);
  if (r != kOnRecord) return r;
  return pos.key.compare(0, raw.size(), raw) == 0 ? kOnRecord : kNotExact;
}

Status Table::Delete() {
  if (eof_) return Status::InvalidArgument(file_name() + ": no current record to delete");
  record_[0] = '*';
  dirty_ = true;
  return Status::OK();
}

Status Table::Recall() {
  if (eof_) return Status::InvalidArgument(file_name() + ": no current record");
  record_[0] = ' ';
  dirty_ = true;
  return Status::OK();
}

Status Table::AppendBlank() {
  KPR_RETURN_IF_ERROR(Commit());
  KPR_RETURN_IF_ERROR(BeginWrite());
  std::string blank(dbf_->record_length(), ' ');
  uint32_t recno = 0;
  Status s = dbf_->Append(blank.data(), &recno);
  if (!s.ok()) {
    failed_ = true;
    return s;
  }
  recno_ = recno;
  record_ = blank;
  original_ = blank;
  original_indexed_ = false;
  eof_ = false;
  bof_ = false;
  dirty_ = true;  // its keys go into the tags when it is committed
  pos_valid_ = false;
  return Status::OK();
}

Status Table::Refresh() {
  KPR_RETURN_IF_ERROR(Commit());
  KPR_RETURN_IF_ERROR(dbf_->Refresh());
  pos_valid_ = false;
  if (eof_ || recno_ > dbf_->record_count()) {
    SetEof();
    return Status::OK();
  }
  return LoadRecord(recno_);
}

std::string_view Table::RawText(int field) const {
  const DbfField& f = fields().at(static_cast<size_t>(field));
  return std::string_view(record_).substr(f.offset, f.width);
}

std::string Table::Text(int field) const {
  if (fields().at(static_cast<size_t>(field)).type == 'M') {
    return std::string(fields()[static_cast<size_t>(field)].width, ' ');
  }
  return Cp1252ToUtf8(RawText(field));
}

int64_t Table::Long(int field) const { return ParseIntegerText(RawText(field)); }
double Table::Double(int field) const { return ParseNumberText(RawText(field)); }
bool Table::True(int field) const { return ParseLogicalText(RawText(field)); }

Status Table::CheckField(int field) const {
  if (field < 0 || field >= static_cast<int>(fields().size())) {
    return Status::InvalidArgument(file_name() + ": no field number " + std::to_string(field));
  }
  if (eof_) {
    return Status::InvalidArgument(file_name() + ": no current record to change (end of file)");
  }
  if (fields()[static_cast<size_t>(field)].type == 'M') {
    return Status::InvalidArgument(file_name() + ": memo field " +
                                   fields()[static_cast<size_t>(field)].name + " is read-only");
  }
  return Status::OK();
}

Status Table::PutField(int field, const std::string& bytes) {
  const DbfField& f = fields()[static_cast<size_t>(field)];
  record_.replace(f.offset, f.width, bytes);
  dirty_ = true;
  return Status::OK();
}

Status Table::SetText(int field, std::string_view utf8) {
  KPR_RETURN_IF_ERROR(CheckField(field));
  const DbfField& f = fields()[static_cast<size_t>(field)];
  std::string raw = Utf8ToCp1252(utf8);
  if (f.type == 'N' || f.type == 'F') {
    const auto first = raw.find_first_not_of(' ');
    raw = first == std::string::npos ? "" : raw.substr(first, raw.find_last_not_of(' ') - first + 1);
    if (raw.size() > f.width) {
      return Status::InvalidArgument(file_name() + " record " + std::to_string(recno_) +
                                     " field " + f.name + ": '" + raw + "' does not fit a width of " +
                                     std::to_string(f.width));
    }
    return PutField(field, std::string(f.width - raw.size(), ' ') + raw);
  }
  if (raw.size() > f.width) raw.resize(f.width);
  raw.resize(f.width, ' ');
  return PutField(field, raw);
}

// Formats a number into its field with format(field, &text); a value that
// does not fit is refused and the record left as it was.
template <typename Format>
Status Table::PutNumber(int field, const std::string& shown, Format&& format) {
  KPR_RETURN_IF_ERROR(CheckField(field));
  const DbfField& f = fields()[static_cast<size_t>(field)];
  if (f.type != 'N' && f.type != 'F') {
    return Status::InvalidArgument(file_name() + " field " + f.name + " is not numeric");
  }
  std::string text;
  if (!format(f, &text)) {
    return Status::InvalidArgument(file_name() + " record " + std::to_string(recno_) + " field " +
                                   f.name + ": the value " + shown + " does not fit (width " +
                                   std::to_string(f.width) + ", " + std::to_string(f.decimals) +
                                   " decimals)");
  }
  return PutField(field, text);
}

Status Table::SetDouble(int field, double value) {
  return PutNumber(field, std::to_string(value), [&](const DbfField& f, std::string* text) {
    return FormatNumberText(value, f.width, f.decimals, text);
  });
}

Status Table::SetLong(int field, int64_t value) {
  return PutNumber(field, std::to_string(value), [&](const DbfField& f, std::string* text) {
    return f.decimals == 0
               ? FormatIntegerText(value, f.width, text)
               : FormatNumberText(static_cast<double>(value), f.width, f.decimals, text);
  });
}

Status Table::SetLogical(int field, bool value) {
  KPR_RETURN_IF_ERROR(CheckField(field));
  const DbfField& f = fields()[static_cast<size_t>(field)];
  std::string text(f.width, ' ');
  text[0] = value ? 'T' : 'F';
  return PutField(field, text);
}

}  // namespace kpr
