#include "store/installed_tables.h"

#include <cstring>

#include "store/dbf_header.h"
#include "store/dbf_table.h"
#include "store/dbf_value.h"

namespace kpr {
namespace {

DbfField F(const char* name, char type, uint16_t width, uint8_t decimals = 0) {
  DbfField f;
  f.name = name;
  f.type = type;
  f.width = width;
  f.decimals = decimals;
  return f;
}

std::vector<DbfField> Laid(std::vector<DbfField> fields) {
  DbfHeader h;
  DbfHeader::Layout(fields, &h);  // fills the offsets
  return h.fields;
}

}  // namespace

const std::vector<TableLayout>& InstalledLayouts() {
  static const std::vector<TableLayout> layouts = {
      {"INC5", Laid({F("IncAcc", 'N', 4), F("IncImp", 'L', 1), F("IncDate", 'D', 8),
                     F("IncDesc", 'C', 30), F("IncAmt", 'N', 12, 2), F("FolNo", 'N', 4),
                     F("Archive", 'L', 1)})},
      {"EXP5", Laid({F("ExpDate", 'D', 8), F("CheckNo", 'N', 8), F("AccNo", 'N', 4),
                     F("FolNo", 'N', 4), F("PayTo", 'C', 30), F("Amount", 'N', 12, 2),
                     F("EMemo", 'C', 30), F("Archive", 'L', 1)})},
      {"ACC", Laid({F("AccNo", 'N', 4), F("AcDesc", 'C', 30), F("AcDed", 'L', 1)})},
      {"ACCI", Laid({F("AccNo", 'N', 4), F("AcDesc", 'C', 30), F("AcDed", 'L', 1)})},
      {"FOLDER", Laid({F("FolNo", 'N', 4), F("FolName", 'C', 30)})},
      {"KPR1", Laid({F("UName", 'C', 60), F("FyMonth", 'N', 2), F("FyDay", 'N', 2),
                     F("FontName", 'C', 60), F("FontSize", 'N', 3)})},
  };
  return layouts;
}

const TableLayout* FindLayout(const std::string& name) {
  for (const auto& l : InstalledLayouts()) {
    if (strcasecmp(l.name, name.c_str()) == 0) return &l;
  }
  return nullptr;
}

RecordImage::RecordImage(const std::vector<DbfField>& fields) : fields_(fields) { Clear(); }

void RecordImage::Clear() {
  size_t len = 1;
  for (const auto& f : fields_) len += f.width;
  bytes_.assign(len, ' ');
}

void RecordImage::SetText(int field, const std::string& raw) {
  const DbfField& f = fields_[static_cast<size_t>(field)];
  std::string v = raw.substr(0, f.width);
  v.resize(f.width, ' ');
  bytes_.replace(f.offset, f.width, v);
}

void RecordImage::SetNumber(int field, double value) {
  const DbfField& f = fields_[static_cast<size_t>(field)];
  std::string v;
  if (!FormatNumberText(value, f.width, f.decimals, &v)) v.assign(f.width, '*');
  bytes_.replace(f.offset, f.width, v);
}

void RecordImage::SetLogical(int field, bool value) {
  bytes_[fields_[static_cast<size_t>(field)].offset] = value ? 'T' : 'F';
}

Status CreateTable(FileSystem* fs, const std::string& path, const TableLayout& layout) {
  if (fs->Exists(path)) return Status::InvalidArgument(path + ": the table exists already");
  DbfHeader h;
  KPR_RETURN_IF_ERROR(DbfHeader::Layout(layout.fields, &h));
  std::unique_ptr<DbfWriter> w;
  KPR_RETURN_IF_ERROR(DbfWriter::Start(fs, path, EncodeDbfHeader(h), h.record_length, &w));
  if (std::strcmp(layout.name, "KPR1") == 0) {
    RecordImage r(h.fields);
    r.SetNumber(1, 1);
    r.SetNumber(2, 1);
    r.SetNumber(4, 0);
    KPR_RETURN_IF_ERROR(w->Add(r.data()));
  }
  return w->Finish();
}

Status CreateEmptyTables(FileSystem* fs, const std::string& dir) {
  for (const auto& l : InstalledLayouts()) {
    const std::string path = ResolvePath(fs, dir, std::string(l.name) + ".dbf");
    if (fs->Exists(path)) return Status::InvalidArgument(path + ": the table exists already");
  }
  for (const auto& l : InstalledLayouts()) {
    KPR_RETURN_IF_ERROR(CreateTable(fs, JoinPath(dir, std::string(l.name) + ".dbf"), l));
  }
  return Status::OK();
}

}  // namespace kpr
