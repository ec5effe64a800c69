#include "classify/account_operations.h"

#include "classify/folder_operations.h"
#include "classify/record_walk.h"
#include "store/amount_text.h"

namespace kpr {
namespace {

void GoAccount(DataStore& store, const AccountChart& chart, uint32_t recno) {
  store.LastResult = chart.table(store)->Go(recno);
  store.engine().ExitTest();
}

// Runs visit over every record of the chart's records table.
void WalkRecords(DataStore& store, const AccountChart& chart,
                 const std::function<Status(Table*, int)>& visit) {
  int field = 0;
  Table* t = chart.OpenRecords(store, &field);
  WalkInRecordOrder(store, t, [&](Table* r) { return visit(r, field); });
  chart.CloseRecords(store);
}

}  // namespace

uint32_t FindAccount(DataStore& store, const AccountChart& chart, int number) {
  Table* t = chart.table(store);
  t->SelectTag(chart.tag(store));
  store.LastResult = t->Seek(SeekKey(PadNumber(number, 4)));
  if (store.LastResult == Table::kOnRecord && t->Long(chart.fields(store).AccNo) == number &&
      !t->Deleted()) {
    return t->RecNo();
  }
  return 0;
}

bool AccountNumberFree(DataStore& store, const AccountChart& chart, int number) {
  return FindAccount(store, chart, number) == 0;
}

int NextAccountNumber(DataStore& store, const AccountChart& chart) {
  Table* t = chart.table(store);
  const int field = chart.fields(store).AccNo;
  t->SelectTag(chart.tag(store));
  store.LastResult = t->Bottom();
  if (store.LastResult == Table::kEndOfFile) return 1;
  const int64_t highest = t->Long(field);
  if (highest >= 0 && highest < kMaxClassNumber) return static_cast<int>(highest) + 1;
  // The lowest gap, in number order; numbers below 1 are passed over.
  int candidate = 1;
  for (store.LastResult = t->Top(); store.LastResult != Table::kEndOfFile;
       store.LastResult = t->Skip(1)) {
    const int64_t n = t->Long(field);
    if (n > candidate) break;
    if (n == candidate) ++candidate;
  }
  return candidate <= kMaxClassNumber ? candidate : 0;
}

void ReassignAccount(DataStore& store, const AccountChart& chart, int old_no, int new_no) {
  WalkRecords(store, chart, [&](Table* t, int field) {
    return t->Long(field) == old_no ? t->SetLong(field, new_no) : Status::OK();
  });
}

void DeleteAccountCascade(DataStore& store, const AccountChart& chart, int acc_no, uint32_t recno) {
  WalkRecords(store, chart, [&](Table* t, int field) {
    if (t->Long(field) != acc_no || t->Deleted()) return Status::OK();
    store.PackPending = true;
    return t->Delete();
  });
  GoAccount(store, chart, recno);
  store.PackPending = true;
  ExitOnFailure(store, chart.table(store)->Delete());
  ExitOnFailure(store, chart.table(store)->Flush());
}

uint32_t AddAccount(DataStore& store, const AccountChart& chart) {
  Table* t = chart.table(store);
  if (!t->AppendBlank().ok()) {
    store.engine().ClearError();
    return 0;
  }
  ExitOnFailure(store, chart.Store(store));
  ExitOnFailure(store, t->Flush());
  return t->RecNo();
}

void StoreAccountAt(DataStore& store, const AccountChart& chart, uint32_t recno) {
  GoAccount(store, chart, recno);
  ExitOnFailure(store, chart.Store(store));
  ExitOnFailure(store, chart.table(store)->Flush());
}

void RenumberAccount(DataStore& store, const AccountChart& chart, uint32_t recno, int old_no) {
  ReassignAccount(store, chart, old_no, chart.buffer(store).AccNo);
  StoreAccountAt(store, chart, recno);
}

void MergeAccount(DataStore& store, const AccountChart& chart, uint32_t recno, int old_no,
                  uint32_t target_recno) {
  ReassignAccount(store, chart, old_no, chart.buffer(store).AccNo);
  if (target_recno != recno) {
    GoAccount(store, chart, target_recno);
    store.PackPending = true;
    ExitOnFailure(store, chart.table(store)->Delete());
  }
  StoreAccountAt(store, chart, recno);
}

}  // namespace kpr
