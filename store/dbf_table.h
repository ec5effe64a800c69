// Record-level access to one dBASE table file: read, write and append raw
// records. Field values, the current record and indexes live above, in Table.
//
// Crash safety: an append writes the record and the end-of-file byte before
// the header's record count, so a crash leaves at worst an unused record
// past the count. The count's changed bytes are written most significant
// first, so even a write cut short within the count never leaves it below
// the old count. Whole-file rewrites go through DbfWriter.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "store/block_cache.h"
#include "store/dbf_header.h"
#include "store/file.h"

namespace kpr {

class DbfTable {
 public:
  static constexpr size_t kDefaultCacheBytes = 64u << 20;

  // Opens an existing table. When the header's record count disagrees with
  // the file's size the smaller count is used and warning() says so.
  static Status Open(FileSystem* fs, const std::string& path, bool writable,
                     std::unique_ptr<DbfTable>* table);

  const std::string& path() const { return file_->path(); }
  const DbfHeader& header() const { return header_; }
  const std::vector<DbfField>& fields() const { return header_.fields; }
  uint32_t record_count() const { return header_.record_count; }
  uint16_t record_length() const { return header_.record_length; }
  bool writable() const { return writable_; }
  const std::string& warning() const { return warning_; }

  // REQUIRES: 1 <= recno <= record_count(); dst holds record_length() bytes.
  Status Read(uint32_t recno, char* dst);
  // REQUIRES: 1 <= recno <= record_count().
  Status Write(uint32_t recno, const char* src);
  // Appends a record and raises the count; *recno receives its number.
  Status Append(const char* src, uint32_t* recno);

  // Calls fn for every record in record order, reading in large chunks.
  // Stops early when fn returns false.
  Status Scan(const std::function<bool(uint32_t recno, const char* record)>& fn);

  // Writes the last-update date when anything was written since opening.
  Status Flush();
  // Rereads the header and drops cached records.
  Status Refresh();

  void set_cache_bytes(size_t bytes) { cache_->set_capacity(bytes); }
  // The header exactly as stored (header_length bytes).
  Status RawHeader(std::string* bytes);

 private:
  DbfTable() = default;
  Status WriteCount();
  uint64_t RecordOffset(uint32_t recno) const {
    return header_.header_length + static_cast<uint64_t>(recno - 1) * header_.record_length;
  }
  Status LoadHeader();

  std::unique_ptr<File> file_;
  std::unique_ptr<BlockCache> cache_;
  DbfHeader header_;
  bool writable_ = false;
  bool modified_ = false;
  std::string warning_;
  // The record count as the file holds it (it differs from the header's
  // when the file was found inconsistent); unknown after a failed write.
  std::optional<uint32_t> stored_count_;
};

// Writes a whole new table file under a temporary name and swaps it in:
// Finish() writes the end-of-file byte and the final count, flushes the file
// to disk and renames it over `path`. Until then `path` is untouched; an
// abandoned writer removes its temporary file.
class DbfWriter {
 public:
  ~DbfWriter();
  // header_bytes: the whole header as it is to be written (EncodeDbfHeader,
  // or the raw header of a table being rewritten); its date and record count
  // are set here and by Finish().
  static Status Start(FileSystem* fs, const std::string& path, std::string header_bytes,
                      uint16_t record_length, std::unique_ptr<DbfWriter>* writer);
  Status Add(const char* record);
  Status Finish();
  uint32_t count() const { return count_; }

 private:
  DbfWriter() = default;
  Status FlushBuffer();

  FileSystem* fs_ = nullptr;
  std::string path_;
  std::string temp_path_;
  std::unique_ptr<File> file_;
  std::string header_bytes_;
  uint16_t record_length_ = 0;
  std::string buffer_;
  uint64_t offset_ = 0;
  uint32_t count_ = 0;
  bool finished_ = false;
};

// Today's date for table headers: {year, month, day} in local time.
void TodayForHeader(int* year, int* month, int* day);

}  // namespace kpr
