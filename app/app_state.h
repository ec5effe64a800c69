// The state the main window shares with every operation: the default
// folder, the report range, the chart the account forms work on, the
// selection codes of the pick-and-edit loops and the report font. It lives
// for the whole run; the data store holds the record buffers and PackPending.
#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>

namespace kpr {

struct AppState {
  bool SplashMode = true;
  bool RefillFolderBox = false;
  int FolderBoxIndex = 0;
  int DefaultFolder = -1;  // -1: no default folder
  QDateTime ReportFrom;
  QDateTime ReportThrough;
  QString AccountKind = "E";  // "E" expense chart (ACC), "I" income chart (ACCI)
  int SelIncome = 0;
  int SelExpense = 0;
  int SelFolder = 0;
  int SelAccount = 0;
  bool ArchiveMode = true;  // true: archive, false: de-archive
  QFont ReportFont;
};

// The pick-and-edit loop: a pick list and an edit form in turn until the
// pick list sets the selection code negative. The pick list sets the code to
// a record number, 0 for a new record or -1 to leave.
template <typename Pick, typename Edit>
void RunPickEditLoop(int& code, Pick&& show_pick, Edit&& show_edit) {
  code = 0;
  do {
    show_pick();
    if (code >= 0) show_edit();
  } while (code >= 0);
}

}  // namespace kpr
