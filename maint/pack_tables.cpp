#include "maint/pack_tables.h"

namespace kpr {

Status PackTable(DataStore& store, const char* name) {
  Engine& engine = store.engine();
  engine.set_access_mode(1);
  Status result;
  Table* t = engine.Open(name);
  if (engine.ErrorCode() >= 0 && t != nullptr) {
    result = t->Pack();
    Status closed = engine.Close(t);
    if (result.ok()) result = closed;
    engine.ClearError();
  }
  engine.set_access_mode(0);
  return result;
}

void PackTables(DataStore& store) {
  struct Step {
    const char* table;
    int progress_after;
  };
  static const Step kSteps[] = {{"INC5", 40}, {"FOLDER", 50}, {"EXP5", 90}, {"ACC", 95}, {"ACCI", 100}};
  UiServices& ui = store.ui();
  store.engine().set_access_mode(1);
  ui.ShowProgress(true, "Packing Data Files");
  ui.SetProgress(10);
  QString failures;
  for (const Step& step : kSteps) {
    Status s = PackTable(store, step.table);
    if (!s.ok()) failures += "\n" + QString::fromStdString(s.message());
    ui.SetProgress(step.progress_after);
  }
  ui.ShowProgress(false, "");
  store.engine().set_access_mode(0);
  if (!failures.isEmpty()) {
    ui.Warn("Some tables could not be packed; they are unchanged." + failures);
  }
}

}  // namespace kpr
