#include "reports/report_folders.h"

#include <algorithm>

#include "reports/t_mult_fol.h"
#include "store/amount_text.h"

namespace kpr {

std::vector<int> SelectReportFolders(DataStore& store, QWidget* parent) {
  Table* t = store.folder;
  int count = 0;
  for (store.LastResult = t->Top(); store.LastResult == 0; store.LastResult = t->Skip(1)) {
    if (!t->Deleted()) ++count;
  }
  if (count == 0) {
    store.ui().Inform("Create folders before running reports");
    return {};
  }
  if (count == 1) {
    for (store.LastResult = t->Top(); store.LastResult == 0 && t->Deleted();
         store.LastResult = t->Skip(1)) {
    }
    store.LoadFolder();
    return {store.Folder.FolNo};
  }
  TMultFol form(parent);
  form.Fill(store);
  store.ui().RunModal(&form);
  return form.folders();
}

int SelectedFolderIndex(const std::vector<int>& folders, int folder) {
  const auto it = std::find(folders.begin(), folders.end(), folder);
  return it == folders.end() ? -1 : static_cast<int>(it - folders.begin());
}

QString FolderTitleName(DataStore& store, int n) {
  store.LastResult = store.folder->Seek(SeekKey(PadNumber(n, 4)));
  if (store.LastResult == Table::kEndOfFile) return QString();
  store.LoadFolder();
  return store.Folder.FolName.trimmed();
}

void AddIncludedFolders(DataStore& store, ReportLayout& layout, const std::vector<int>& folders) {
  layout.NewLine();
  layout.NewLine();
  bool first = true;
  for (int n : folders) {
    layout.CheckPageBreak(layout.LinesOnPage + 1, false);
    layout.NewLine();
    if (first) layout.Set(0, "L00Included Folders:");
    first = false;
    store.LastResult = store.folder->Seek(SeekKey(PadNumber(n, 4)));
    if (store.LastResult != Table::kEndOfFile) {
      store.LoadFolder();
      layout.Set(1, "L18" + store.Folder.FolName);
    }
  }
}

QDate FiscalYearStart(const QDate& date, int fy_month, int fy_day) {
  int year = date.year();
  if ((date.month() == fy_month && date.day() < fy_day) || date.month() < fy_month) --year;
  return QDate(year, fy_month, fy_day);
}

}  // namespace kpr
