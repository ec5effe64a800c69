#include "tools/data_writer.h"

#include <algorithm>

#include "store/data_store.h"
#include "store/dbf_header.h"
#include "tools/console_ui.h"

namespace kpr {

Status DataWriter::Start(const std::string& dir, std::unique_ptr<DataWriter>* out) {
  FileSystem* fs = FileSystem::Default();
  KPR_RETURN_IF_ERROR(fs->CreateDir(dir));
  for (const auto& l : InstalledLayouts()) {
    const std::string path = ResolvePath(fs, dir, std::string(l.name) + ".dbf");
    if (fs->Exists(path)) {
      return Status::InvalidArgument(path + ": the table exists already; not overwriting it");
    }
  }
  out->reset(new DataWriter);
  (*out)->dir_ = dir;
  return Status::OK();
}

Status DataWriter::WriteTable(const char* name, uint64_t count,
                              const std::function<void(RecordImage&, uint64_t)>& fill) {
  const TableLayout* layout = FindLayout(name);
  if (layout == nullptr) return Status::InvalidArgument(std::string("no table named ") + name);
  DbfHeader h;
  KPR_RETURN_IF_ERROR(DbfHeader::Layout(layout->fields, &h));
  std::unique_ptr<DbfWriter> w;
  const std::string path = JoinPath(dir_, std::string(layout->name) + ".dbf");
  KPR_RETURN_IF_ERROR(
      DbfWriter::Start(FileSystem::Default(), path, EncodeDbfHeader(h), h.record_length, &w));
  RecordImage r(layout->fields);
  for (uint64_t i = 0; i < count; ++i) {
    r.Clear();
    fill(r, i);
    KPR_RETURN_IF_ERROR(w->Add(r.data()));
  }
  KPR_RETURN_IF_ERROR(w->Finish());
  written_.push_back(layout->name);
  return Status::OK();
}

Status DataWriter::Finish() {
  FileSystem* fs = FileSystem::Default();
  for (const auto& l : InstalledLayouts()) {
    if (std::find(written_.begin(), written_.end(), l.name) != written_.end()) continue;
    KPR_RETURN_IF_ERROR(CreateTable(fs, JoinPath(dir_, std::string(l.name) + ".dbf"), l));
  }
  ConsoleUi ui;
  DataStore store(dir_, &ui);
  Status failure;
  store.engine().set_exit_handler([&](const std::string& message) {
    throw std::runtime_error(message);
  });
  try {
    store.RebuildIndexes(false);
  } catch (const std::runtime_error& e) {
    return Status::IOError(e.what());
  }
  return Status::OK();
}

}  // namespace kpr
