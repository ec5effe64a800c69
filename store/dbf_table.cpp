#include "store/dbf_table.h"

#include <ctime>
#include <vector>

#include "store/coding.h"

namespace kpr {

void TodayForHeader(int* year, int* month, int* day) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  *year = tm.tm_year + 1900;
  *month = tm.tm_mon + 1;
  *day = tm.tm_mday;
}

Status DbfTable::Open(FileSystem* fs, const std::string& path, bool writable,
                      std::unique_ptr<DbfTable>* out) {
  std::unique_ptr<DbfTable> t(new DbfTable);
  Status s = fs->Open(path, writable ? OpenMode::kReadWrite : OpenMode::kReadOnly, &t->file_);
  if (!s.ok() && writable && !s.IsNotFound()) {
    // A read-only file (a table handed over by another program) still reads.
    if (fs->Open(path, OpenMode::kReadOnly, &t->file_).ok()) writable = false, s = Status::OK();
  }
  KPR_RETURN_IF_ERROR(s);
  t->writable_ = writable;
  t->cache_ = std::make_unique<BlockCache>(t->file_.get(), kDefaultCacheBytes);
  KPR_RETURN_IF_ERROR(t->LoadHeader());
  if (t->writable_ && t->stored_count_ && *t->stored_count_ > t->header_.record_count) {
    // A count past the end of the file is mended, so the table does not need
    // mending at every open. Records past the count are left alone: the
    // next append writes over them.
    t->modified_ = true;
    KPR_RETURN_IF_ERROR(t->WriteCount());
    t->warning_ += " (count corrected)";
  }
  *out = std::move(t);
  return Status::OK();
}

Status DbfTable::LoadHeader() {
  KPR_RETURN_IF_ERROR(DecodeDbfHeader(file_.get(), &header_));
  uint64_t size = 0;
  KPR_RETURN_IF_ERROR(file_->Size(&size));
  const uint64_t in_file =
      size > header_.header_length ? (size - header_.header_length) / header_.record_length : 0;
  warning_.clear();
  stored_count_ = header_.record_count;
  if (in_file != header_.record_count) {
    const uint64_t used = std::min<uint64_t>(in_file, header_.record_count);
    warning_ = path() + ": the header counts " + std::to_string(header_.record_count) +
               " records but the file holds " + std::to_string(in_file) + "; using " +
               std::to_string(used);
    header_.record_count = static_cast<uint32_t>(used);
  }
  return Status::OK();
}

Status DbfTable::Read(uint32_t recno, char* dst) {
  if (recno < 1 || recno > header_.record_count) {
    return Status::InvalidArgument(path() + ": no record " + std::to_string(recno));
  }
  return cache_->Read(RecordOffset(recno), header_.record_length, dst);
}

Status DbfTable::Write(uint32_t recno, const char* src) {
  if (!writable_) return Status::IOError(path() + ": the table is open for reading only");
  if (recno < 1 || recno > header_.record_count) {
    return Status::InvalidArgument(path() + ": no record " + std::to_string(recno));
  }
  modified_ = true;
  return cache_->Write(RecordOffset(recno), src, header_.record_length);
}

Status DbfTable::Append(const char* src, uint32_t* recno) {
  if (!writable_) return Status::IOError(path() + ": the table is open for reading only");
  if (header_.record_count == UINT32_MAX) return Status::IOError(path() + ": table is full");
  const uint32_t n = header_.record_count + 1;
  std::string rec(src, header_.record_length);
  rec.push_back(0x1A);
  modified_ = true;
  KPR_RETURN_IF_ERROR(cache_->Write(RecordOffset(n), rec.data(), rec.size()));
  header_.record_count = n;
  Status s = WriteCount();
  if (!s.ok()) {
    header_.record_count = n - 1;
    return s;
  }
  *recno = n;
  return Status::OK();
}

// Writes only the bytes of the count that change, the most significant
// first. Raising the count, each step then leaves a value at least the new
// count (the record is already in the file, so the smaller of count and
// file is the new count), and a write that fails before any byte changed
// leaves the old one: never a count that hides records, as a torn
// four-byte write could (255 -> 256 cut after its first byte reads 0).
Status DbfTable::WriteCount() {
  char now[4], was[4];
  EncodeFixed32(now, header_.record_count);
  if (stored_count_) EncodeFixed32(was, *stored_count_);
  for (int i = 3; i >= 0; --i) {
    if (stored_count_ && now[i] == was[i]) continue;
    Status s = cache_->Write(4 + static_cast<uint64_t>(i), now + i, 1);
    if (!s.ok()) {
      stored_count_.reset();
      return s;
    }
  }
  stored_count_ = header_.record_count;
  return Status::OK();
}

Status DbfTable::Scan(const std::function<bool(uint32_t, const char*)>& fn) {
  const size_t len = header_.record_length;
  const uint32_t per_chunk = static_cast<uint32_t>(std::max<size_t>(1, (1u << 20) / len));
  std::vector<char> buf(per_chunk * len);
  for (uint32_t first = 1; first <= header_.record_count; first += per_chunk) {
    const uint32_t n = std::min(per_chunk, header_.record_count - first + 1);
    KPR_RETURN_IF_ERROR(ReadExact(file_.get(), RecordOffset(first), n * len, buf.data()));
    for (uint32_t i = 0; i < n; ++i) {
      if (!fn(first + i, buf.data() + i * len)) return Status::OK();
    }
  }
  return Status::OK();
}

Status DbfTable::Flush() {
  if (!modified_) return Status::OK();
  TodayForHeader(&header_.year, &header_.month, &header_.day);
  const std::string prefix = EncodeDbfHeaderPrefix(header_);
  KPR_RETURN_IF_ERROR(cache_->Write(0, prefix.data(), 4));
  modified_ = false;
  return Status::OK();
}

Status DbfTable::RawHeader(std::string* bytes) {
  bytes->assign(header_.header_length, '\0');
  return ReadExact(file_.get(), 0, bytes->size(), bytes->data());
}

Status DbfTable::Refresh() {
  cache_->Clear();
  return LoadHeader();
}

DbfWriter::~DbfWriter() {
  if (!finished_ && fs_ != nullptr) {
    file_.reset();
    fs_->Remove(temp_path_);
  }
}

Status DbfWriter::Start(FileSystem* fs, const std::string& path, std::string header_bytes,
                        uint16_t record_length, std::unique_ptr<DbfWriter>* out) {
  if (header_bytes.size() < 32 || record_length == 0) {
    return Status::InvalidArgument(path + ": bad table header");
  }
  std::unique_ptr<DbfWriter> w(new DbfWriter);
  w->fs_ = fs;
  w->path_ = path;
  w->temp_path_ = path + ".new";
  w->record_length_ = record_length;
  int year, month, day;
  TodayForHeader(&year, &month, &day);
  header_bytes[1] = static_cast<char>(year - 1900);
  header_bytes[2] = static_cast<char>(month);
  header_bytes[3] = static_cast<char>(day);
  EncodeFixed32(&header_bytes[4], 0);
  EncodeFixed16(&header_bytes[8], static_cast<uint16_t>(header_bytes.size()));
  EncodeFixed16(&header_bytes[10], record_length);
  KPR_RETURN_IF_ERROR(fs->Open(w->temp_path_, OpenMode::kCreate, &w->file_));
  w->header_bytes_ = header_bytes;
  w->buffer_ = std::move(header_bytes);
  *out = std::move(w);
  return Status::OK();
}

Status DbfWriter::FlushBuffer() {
  KPR_RETURN_IF_ERROR(file_->Write(offset_, buffer_.data(), buffer_.size()));
  offset_ += buffer_.size();
  buffer_.clear();
  return Status::OK();
}

Status DbfWriter::Add(const char* record) {
  buffer_.append(record, record_length_);
  ++count_;
  if (buffer_.size() >= (1u << 20)) return FlushBuffer();
  return Status::OK();
}

Status DbfWriter::Finish() {
  buffer_.push_back(0x1A);
  KPR_RETURN_IF_ERROR(FlushBuffer());
  char count[4];
  EncodeFixed32(count, count_);
  KPR_RETURN_IF_ERROR(file_->Write(4, count, 4));
  KPR_RETURN_IF_ERROR(file_->Sync());
  file_.reset();
  KPR_RETURN_IF_ERROR(fs_->Rename(temp_path_, path_));
  finished_ = true;
  return fs_->SyncDir(DirName(path_));
}

}  // namespace kpr
