#include "store/group_file.h"

#include <cstring>

#include "store/coding.h"

namespace kpr {
namespace {

constexpr char kMagic[] = "KPRCGP2\n";
constexpr char kMagicV1[] = "KPRCGP1\n";  // no index file stamps
constexpr size_t kMagicSize = 8;

void PutString(std::string* dst, const std::string& s) {
  PutFixed16(dst, static_cast<uint16_t>(s.size()));
  dst->append(s);
}

class Reader {
 public:
  Reader(const std::string& bytes, size_t pos) : bytes_(bytes), pos_(pos) {}
  bool U8(uint8_t* v) {
    if (pos_ + 1 > bytes_.size()) return false;
    *v = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool U16(uint16_t* v) {
    if (pos_ + 2 > bytes_.size()) return false;
    *v = DecodeFixed16(&bytes_[pos_]);
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t* v) {
    if (pos_ + 4 > bytes_.size()) return false;
    *v = DecodeFixed32(&bytes_[pos_]);
    pos_ += 4;
    return true;
  }
  bool U64(uint64_t* v) {
    if (pos_ + 8 > bytes_.size()) return false;
    *v = DecodeFixed64(&bytes_[pos_]);
    pos_ += 8;
    return true;
  }
  bool Str(std::string* s) {
    uint16_t n;
    if (!U16(&n) || pos_ + n > bytes_.size()) return false;
    s->assign(bytes_, pos_, n);
    pos_ += n;
    return true;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t pos_;
};

}  // namespace

std::string GroupFile::Encode() const {
  std::string payload;
  payload.push_back(open_for_writing ? 1 : 0);
  PutFixed64(&payload, table_size);
  PutFixed64(&payload, static_cast<uint64_t>(table_mtime));
  PutFixed16(&payload, static_cast<uint16_t>(tags.size()));
  for (const auto& t : tags) {
    PutString(&payload, t.name);
    PutString(&payload, t.file);
    PutString(&payload, t.expression);
    PutString(&payload, t.filter);
    payload.push_back(t.unique ? 1 : 0);
    payload.push_back(t.descending ? 1 : 0);
    PutFixed32(&payload, t.version);
    PutFixed64(&payload, t.index_size);
    PutFixed64(&payload, static_cast<uint64_t>(t.index_mtime));
  }
  std::string out(kMagic, kMagicSize);
  PutFixed32(&out, static_cast<uint32_t>(payload.size()));
  PutFixed32(&out, Crc32(payload.data(), payload.size()));
  return out + payload;
}

Status GroupFile::Decode(const std::string& path, const std::string& bytes, GroupFile* out) {
  auto bad = [&](const char* why) {
    return Status::Corruption(path + ": damaged group file (" + why + ")");
  };
  if (bytes.size() < 16) return bad("not a group file");
  const bool v1 = std::memcmp(bytes.data(), kMagicV1, kMagicSize) == 0;
  if (!v1 && std::memcmp(bytes.data(), kMagic, kMagicSize) != 0) return bad("not a group file");
  const uint32_t len = DecodeFixed32(&bytes[8]);
  if (bytes.size() != 16 + static_cast<size_t>(len)) return bad("wrong length");
  if (Crc32(bytes.data() + 16, len) != DecodeFixed32(&bytes[12])) return bad("checksum mismatch");
  Reader r(bytes, 16);
  GroupFile g;
  uint8_t state;
  uint64_t mtime;
  uint16_t n;
  if (!r.U8(&state) || !r.U64(&g.table_size) || !r.U64(&mtime) || !r.U16(&n)) {
    return bad("short header");
  }
  g.open_for_writing = state != 0;
  g.table_mtime = static_cast<int64_t>(mtime);
  for (uint16_t i = 0; i < n; ++i) {
    TagDef t;
    uint8_t unique, descending;
    uint64_t index_mtime = 0;
    if (!r.Str(&t.name) || !r.Str(&t.file) || !r.Str(&t.expression) || !r.Str(&t.filter) ||
        !r.U8(&unique) || !r.U8(&descending) || !r.U32(&t.version) ||
        (!v1 && (!r.U64(&t.index_size) || !r.U64(&index_mtime)))) {
      return bad("short tag entry");
    }
    t.index_mtime = static_cast<int64_t>(index_mtime);
    t.unique = unique != 0;
    t.descending = descending != 0;
    g.tags.push_back(std::move(t));
  }
  if (!r.AtEnd()) return bad("trailing bytes");
  *out = std::move(g);
  return Status::OK();
}

Status GroupFile::Read(FileSystem* fs, const std::string& path, GroupFile* out) {
  std::unique_ptr<File> f;
  KPR_RETURN_IF_ERROR(fs->Open(path, OpenMode::kReadOnly, &f));
  uint64_t size = 0;
  KPR_RETURN_IF_ERROR(f->Size(&size));
  if (size > (1u << 20)) return Status::Corruption(path + ": damaged group file (too large)");
  std::string bytes(size, '\0');
  KPR_RETURN_IF_ERROR(ReadExact(f.get(), 0, bytes.size(), bytes.data()));
  return Decode(path, bytes, out);
}

Status GroupFile::Write(FileSystem* fs, const std::string& path) const {
  const std::string bytes = Encode();
  const std::string temp = path + ".new";
  {
    std::unique_ptr<File> f;
    KPR_RETURN_IF_ERROR(fs->Open(temp, OpenMode::kCreate, &f));
    Status s = f->Write(0, bytes.data(), bytes.size());
    if (s.ok()) s = f->Sync();
    if (!s.ok()) {
      f.reset();
      fs->Remove(temp);
      return s;
    }
  }
  Status s = fs->Rename(temp, path);
  if (!s.ok()) {
    fs->Remove(temp);
    return s;
  }
  return fs->SyncDir(DirName(path));
}

}  // namespace kpr
