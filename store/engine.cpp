#include "store/engine.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>

namespace kpr {

Engine::Engine(std::string directory, FileSystem* fs) : directory_(std::move(directory)), fs_(fs) {}

Engine::~Engine() { CloseAll(); }

Table* Engine::Open(const std::string& name) {
  std::string file = name;
  std::string base = BaseName(name);
  const auto dot = base.rfind('.');
  if (dot == std::string::npos) {
    file += ".dbf";
  } else {
    base.resize(dot);
  }
  const std::string path = ResolvePath(fs_, directory_, file);
  std::unique_ptr<Table> table(new Table(this, base));
  Status s = table->OpenFile(path, /*writable=*/true, access_mode_ == 1);
  if (!s.ok()) {
    RecordError(s, s.IsBusy() ? kErrorBusy : kErrorOpen);
    return nullptr;
  }
  if (!table->dbf()->warning().empty()) AddNote(table->dbf()->warning());
  if (auto_open_) {
    s = table->OpenGroup();
    if (!s.ok()) {
      table->index_problem_ = s.message();
      AddNote(s.message());
    }
  }
  tables_.push_back(std::move(table));
  return tables_.back().get();
}

Status Engine::Close(Table* table) {
  auto it = std::find_if(tables_.begin(), tables_.end(),
                         [&](const auto& t) { return t.get() == table; });
  if (it == tables_.end()) return Status::OK();
  Status s = (*it)->Close();
  tables_.erase(it);
  if (!s.ok()) RecordError(s);
  return s;
}

Status Engine::CloseAll() {
  Status first;
  while (!tables_.empty()) {
    Status s = Close(tables_.back().get());
    if (first.ok() && !s.ok()) first = s;
  }
  return first;
}

Tag* Engine::FindTag(Table* table, std::string_view name) {
  Tag* tag = table->FindTag(name);
  if (tag == nullptr && missing_tag_error_) {
    RecordError(Status::NotFound(table->file_name() + ": no index tag named " + std::string(name)),
                kErrorTagNotFound);
  }
  return tag;
}

int Engine::ErrorCode() {
  const int code = error_code_;
  error_code_ = 0;
  return code;
}

void Engine::RecordError(const Status& s, int code) {
  error_code_ = code;
  error_message_ = s.message();
}

void Engine::Exit(const std::string& message) {
  CloseAll();
  if (exit_handler_) exit_handler_(message);
  // No handler, or one that returned: end the process here.
  if (!message.empty()) std::cerr << message << "\n";
  std::exit(EXIT_FAILURE);
}

void Engine::ExitTest() {
  if (error_code_ < 0) Exit(error_message_);
}

}  // namespace kpr
