#include "classify/record_walk.h"

namespace kpr {

void ExitOnFailure(DataStore& store, const Status& s) {
  if (!s.ok()) store.engine().RecordError(s);
  store.engine().ExitTest();
}

void WalkInRecordOrder(DataStore& store, Table* table, const std::function<Status(Table*)>& visit) {
  Engine& engine = store.engine();
  engine.set_missing_tag_error(false);
  Tag* none = engine.FindTag(table, "");
  engine.set_missing_tag_error(true);
  table->SelectTag(none);
  store.LastResult = table->Top();
  engine.ExitTest();
  while (store.LastResult != Table::kEndOfFile) {
    ExitOnFailure(store, visit(table));
    store.LastResult = table->Skip(1);
    engine.ExitTest();
  }
}

void CloseAndTest(DataStore& store, Table*& table) {
  Table* t = table;
  table = nullptr;
  ExitOnFailure(store, store.engine().Close(t));
}

}  // namespace kpr
