// The group file (.cgp) of a table: which index tags the table has, and the
// stamp that says whether they are in step with the table file.
//
// Layout (our own; little-endian):
//   0   8   magic "KPRCGP2\n"
//   8   4   payload length
//   12  4   CRC-32 of the payload
//   16  ..  payload:
//             u8  state: 0 = closed cleanly, 1 = open for writing
//             u64 table file size   i64 table modification time (ns)
//             u16 number of tags, then per tag:
//               str name  str index file name  str key expression  str filter
//               u8 unique  u8 descending  u32 index file version
//               u64 index file size  i64 index file modification time (ns)
//           where str is a u16 length and that many bytes.
// Files of the first layout (magic "KPRCGP1\n", without the index file size
// and time) are read with those unknown (0).
//
// A table whose group file is not clean, or whose size or modification time
// differ from the stamp, has indexes that cannot be trusted; so has an index
// file whose size or modification time differ from its own stamp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/file.h"
#include "store/status.h"

namespace kpr {

struct TagDef {
  std::string name;        // tag name, compared without regard to case
  std::string file;        // index file name (name + ".ntx" when created)
  std::string expression;  // key expression
  std::string filter;      // "" or ".NOT. DELETED()"
  bool unique = false;
  bool descending = false;
  uint32_t version = 0;    // index file version the stamp belongs to
  uint64_t index_size = 0;   // the index file's size and modification time
  int64_t index_mtime = 0;   // when the stamp was written (0: unknown)
};

struct GroupFile {
  bool open_for_writing = false;
  uint64_t table_size = 0;
  int64_t table_mtime = 0;
  std::vector<TagDef> tags;

  std::string Encode() const;
  // Corruption names the file.
  static Status Decode(const std::string& path, const std::string& bytes, GroupFile* out);

  static Status Read(FileSystem* fs, const std::string& path, GroupFile* out);
  // Writes under a temporary name, flushes and renames into place.
  Status Write(FileSystem* fs, const std::string& path) const;
};

}  // namespace kpr
