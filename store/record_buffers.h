// The record buffers: one set of values per table, named as the fields.
// They outlive the open table; operations fill a buffer and store it into a
// record, or load a record and read the buffer.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace kpr {

struct IncomeRecord {
  int IncAcc = 0;
  QDateTime IncDate;
  QString IncDesc;
  double IncAmt = 0.0;
  int FolNo = 0;
  bool IncImp = false;
  bool Archive = false;
};

struct ExpenseRecord {
  QDateTime ExpDate;
  int32_t CheckNo = 0;  // 0 = no check number
  int AccNo = 0;
  int FolNo = 0;
  QString PayTo;
  double Amount = 0.0;
  QString EMemo;
  bool Archive = false;
};

// An account of either chart (ACC: expense accounts, AcDed = deductible;
// ACCI: income accounts, AcDed = taxable).
struct AccountRecord {
  int AccNo = 0;
  QString AcDesc;
  bool AcDed = false;
};

struct FolderRecord {
  int FolNo = 0;
  QString FolName;
};

struct SettingsRecord {
  QString UName;
  int FyMonth = 1;
  int FyDay = 1;
  QString FontName;
  int FontSize = 0;
};

}  // namespace kpr
