#include "classify/folder_operations.h"

#include "classify/record_walk.h"
#include "store/amount_text.h"

namespace kpr {
namespace {

// Opens INC5 and EXP5, runs `visit` over each in record order with the
// field number of its FolNo, and closes them again.
void WalkIncomeAndExpenses(DataStore& store, const std::function<Status(Table*, int)>& visit) {
  store.OpenIncomes();
  store.OpenExpenses();
  const int inc_fol = store.inc_f.FolNo;
  const int exp_fol = store.exp_f.FolNo;
  WalkInRecordOrder(store, store.inc5, [&](Table* t) { return visit(t, inc_fol); });
  WalkInRecordOrder(store, store.exp5, [&](Table* t) { return visit(t, exp_fol); });
  store.tag_inc_date = store.tag_inc_acc = store.tag_exp_date = store.tag_exp_acc = nullptr;
  CloseAndTest(store, store.inc5);
  CloseAndTest(store, store.exp5);
}

void GoFolder(DataStore& store, uint32_t recno) {
  store.LastResult = store.folder->Go(recno);
  store.engine().ExitTest();
}

}  // namespace

uint32_t FindFolder(DataStore& store, int number) {
  Table* t = store.folder;
  t->SelectTag(store.tag_folder);
  store.LastResult = t->Seek(SeekKey(PadNumber(number, 4)));
  if (store.LastResult == Table::kOnRecord && t->Long(store.fol_f.FolNo) == number &&
      !t->Deleted()) {
    return t->RecNo();
  }
  return 0;
}

void ReassignFolder(DataStore& store, int old_no, int new_no) {
  WalkIncomeAndExpenses(store, [&](Table* t, int field) {
    return t->Long(field) == old_no ? t->SetLong(field, new_no) : Status::OK();
  });
}

void DeleteFolderCascade(DataStore& store, int fol_no, uint32_t recno) {
  WalkIncomeAndExpenses(store, [&](Table* t, int field) {
    if (t->Long(field) != fol_no || t->Deleted()) return Status::OK();
    store.PackPending = true;
    return t->Delete();
  });
  GoFolder(store, recno);
  store.PackPending = true;
  ExitOnFailure(store, store.folder->Delete());
  ExitOnFailure(store, store.folder->Flush());
}

uint32_t AddFolder(DataStore& store, const QString& name) {
  const int number = store.NextFolderNumber();
  if (number > kMaxClassNumber) return 0;
  if (!store.folder->AppendBlank().ok()) {
    store.engine().ClearError();
    return 0;
  }
  store.Folder = {number, name};
  ExitOnFailure(store, store.StoreFolder());
  ExitOnFailure(store, store.folder->Flush());
  return store.folder->RecNo();
}

void StoreFolderAt(DataStore& store, uint32_t recno, int number, const QString& name) {
  GoFolder(store, recno);
  store.Folder = {number, name};
  ExitOnFailure(store, store.StoreFolder());
  ExitOnFailure(store, store.folder->Flush());
}

void RenumberFolder(DataStore& store, uint32_t recno, int old_no, int new_no, const QString& name) {
  ReassignFolder(store, old_no, new_no);
  StoreFolderAt(store, recno, new_no, name);
}

void MergeFolder(DataStore& store, uint32_t recno, int old_no, uint32_t target_recno, int new_no,
                 const QString& name) {
  ReassignFolder(store, old_no, new_no);
  // The folder that carried new_no goes first, so that no moment leaves two
  // live folders with one number.
  if (target_recno != recno) {
    GoFolder(store, target_recno);
    store.PackPending = true;
    ExitOnFailure(store, store.folder->Delete());
  }
  StoreFolderAt(store, recno, new_no, name);
}

}  // namespace kpr
