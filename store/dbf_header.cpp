#include "store/dbf_header.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "store/coding.h"

namespace kpr {
namespace {

constexpr size_t kPrefixSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr char kTerminator = 0x0D;

bool ValidType(char t) { return std::strchr("CNFDLM", t) != nullptr && t != '\0'; }

}  // namespace

Status DbfHeader::Layout(const std::vector<DbfField>& fields, DbfHeader* header) {
  if (fields.empty()) return Status::InvalidArgument("a table needs at least one field");
  if (fields.size() > 255) return Status::InvalidArgument("too many fields");
  header->fields = fields;
  uint32_t offset = 1;
  for (auto& f : header->fields) {
    if (f.name.empty() || f.name.size() > 10) {
      return Status::InvalidArgument("field name '" + f.name + "' must have 1 to 10 characters");
    }
    if (!ValidType(f.type) || f.type == 'M') {
      return Status::InvalidArgument("field " + f.name + ": type must be C, N, F, D or L");
    }
    if (f.type == 'D') f.width = 8, f.decimals = 0;
    if (f.type == 'L') f.width = 1, f.decimals = 0;
    if (f.width == 0 || (f.type != 'C' && f.width > 255)) {
      return Status::InvalidArgument("field " + f.name + ": bad width");
    }
    if ((f.type == 'N' || f.type == 'F') && f.decimals > 0 && f.decimals + 2 > f.width) {
      return Status::InvalidArgument("field " + f.name + ": too many decimals for its width");
    }
    f.offset = offset;
    offset += f.width;
  }
  if (offset > 65535) return Status::InvalidArgument("record too long");
  header->record_length = static_cast<uint16_t>(offset);
  header->header_length =
      static_cast<uint16_t>(kPrefixSize + kDescriptorSize * header->fields.size() + 1);
  return Status::OK();
}

std::string EncodeDbfHeaderPrefix(const DbfHeader& h) {
  std::string out(kPrefixSize, '\0');
  out[0] = static_cast<char>(h.version);
  out[1] = static_cast<char>(std::clamp(h.year - 1900, 0, 255));
  out[2] = static_cast<char>(h.month);
  out[3] = static_cast<char>(h.day);
  EncodeFixed32(&out[4], h.record_count);
  EncodeFixed16(&out[8], h.header_length);
  EncodeFixed16(&out[10], h.record_length);
  if (h.reserved.size() == 20) std::memcpy(&out[12], h.reserved.data(), 20);
  return out;
}

std::string EncodeDbfHeader(const DbfHeader& h) {
  std::string out = EncodeDbfHeaderPrefix(h);
  for (const auto& f : h.fields) {
    char d[kDescriptorSize] = {};
    std::string upper = f.name;
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::memcpy(d, upper.data(), std::min<size_t>(upper.size(), 10));
    d[11] = f.type;
    d[16] = static_cast<char>(f.width & 0xFF);
    d[17] = static_cast<char>(f.type == 'C' ? (f.width >> 8) : f.decimals);
    out.append(d, kDescriptorSize);
  }
  out.push_back(kTerminator);
  return out;
}

Status DecodeDbfHeader(File* file, DbfHeader* h) {
  const std::string& path = file->path();
  char prefix[kPrefixSize];
  size_t got = 0;
  KPR_RETURN_IF_ERROR(file->Read(0, kPrefixSize, prefix, &got));
  if (got < kPrefixSize) return Status::Corruption(path + ": not a dBASE table (file too short)");
  h->version = static_cast<uint8_t>(prefix[0]);
  const uint8_t level = h->version & 0x07;
  if (level != 3 && level != 4 && level != 5 && h->version != 0x30 && h->version != 0x31 &&
      h->version != 0xF5) {
    return Status::Corruption(path + ": not a dBASE table (unknown version byte " +
                              std::to_string(h->version) + ")");
  }
  h->year = 1900 + static_cast<unsigned char>(prefix[1]);
  h->month = static_cast<unsigned char>(prefix[2]);
  h->day = static_cast<unsigned char>(prefix[3]);
  h->record_count = DecodeFixed32(prefix + 4);
  h->header_length = DecodeFixed16(prefix + 8);
  h->record_length = DecodeFixed16(prefix + 10);
  h->reserved.assign(prefix + 12, 20);
  if (h->header_length < kPrefixSize + 1 || h->record_length < 2) {
    return Status::Corruption(path + ": damaged table header (bad header or record length)");
  }

  std::string desc(h->header_length - kPrefixSize, '\0');
  KPR_RETURN_IF_ERROR(ReadExact(file, kPrefixSize, desc.size(), desc.data()));
  h->fields.clear();
  uint32_t offset = 1;
  size_t pos = 0;
  while (true) {
    if (pos >= desc.size()) {
      return Status::Corruption(path + ": damaged table header (no end of field list)");
    }
    if (desc[pos] == kTerminator) break;
    if (pos + kDescriptorSize > desc.size()) {
      return Status::Corruption(path + ": damaged table header (field list runs past the header)");
    }
    const char* d = desc.data() + pos;
    DbfField f;
    f.name.assign(d, strnlen(d, 11));
    while (!f.name.empty() && f.name.back() == ' ') f.name.pop_back();
    f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(d[11])));
    f.width = static_cast<unsigned char>(d[16]);
    f.decimals = static_cast<unsigned char>(d[17]);
    if (f.type == 'C') {
      f.width = static_cast<uint16_t>(f.width | (f.decimals << 8));
      f.decimals = 0;
    }
    if (f.name.empty() || f.width == 0) {
      return Status::Corruption(path + ": damaged table header (field " +
                                std::to_string(h->fields.size() + 1) + " has no name or width)");
    }
    f.offset = offset;
    offset += f.width;
    h->fields.push_back(std::move(f));
    pos += kDescriptorSize;
  }
  if (h->fields.empty()) return Status::Corruption(path + ": damaged table header (no fields)");
  if (offset > h->record_length) {
    return Status::Corruption(path + ": damaged table header (record length " +
                              std::to_string(h->record_length) + " but fields need " +
                              std::to_string(offset) + ")");
  }
  return Status::OK();
}

}  // namespace kpr
