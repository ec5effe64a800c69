#include "tools/sample_data.h"

#include <QDate>
#include <cstdint>
#include <vector>

#include "tools/data_writer.h"

namespace kpr {
namespace {

struct Account {
  int number;
  const char* name;
  bool flag;  // taxable (income) or deductible (expense)
};

const Account kIncomeAccounts[] = {
    {1, "Design Fees", true},     {2, "Print Sales", true},   {3, "Workshop Tickets", true},
    {4, "Bank Interest", false},  {5, "Grant Income", false},
};

const Account kExpenseAccounts[] = {
    {10, "Advertising", true},      {20, "Office Supplies", true}, {30, "Studio Rent", true},
    {40, "Utilities", true},        {50, "Printing Materials", true}, {60, "Travel", true},
    {70, "Software Subscriptions", true}, {80, "Owner Draw", false}, {90, "Personal Meals", false},
};

const char* const kFolders[] = {"Studio", "Print Shop", "Workshops"};

const char* const kClients[] = {"Harbor Cafe", "Lindqvist Dental", "Maple Street Books",
                                "North Shore Rowing", "Ortega Family Farm", "Pine Hill School",
                                "Quarry Lane Brewery", "Riverside Clinic"};

struct Payee {
  int account;
  const char* name;
  const char* memo;
  double low, high;
  int folder;
};

const Payee kPayees[] = {
    {10, "County Gazette", "Quarter page ad", 120, 380, 1},
    {20, "Staples", "Paper, toner", 25, 160, 1},
    {30, "Dockside Properties", "Monthly rent", 950, 950, 1},
    {40, "City Power & Light", "Electric bill", 80, 210, 1},
    {50, "Paper Mill Supply", "Card stock", 140, 620, 2},
    {60, "Amtrak", "Client visit", 60, 240, 3},
    {70, "Adobe", "Creative Cloud", 59.99, 59.99, 1},
    {80, "Owner", "Draw", 500, 1500, 1},
    {90, "Corner Deli", "Lunch", 9.5, 38, 3},
};

class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint32_t Next() {
    s_ = s_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(s_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  double Between(double lo, double hi) {
    return lo + (hi - lo) * (Next() % 10001) / 10000.0;
  }

 private:
  uint64_t s_;
};

std::string Ymd(const QDate& d) { return d.toString("yyyyMMdd").toStdString(); }

struct Income {
  QDate date;
  int account, folder;
  std::string desc;
  double amount;
  bool imported, archived;
};

struct Expense {
  QDate date;
  int check, account, folder;
  std::string payee, memo;
  double amount;
  bool archived;
};

}  // namespace

Status WriteSampleData(const std::string& dir) {
  std::unique_ptr<DataWriter> w;
  KPR_RETURN_IF_ERROR(DataWriter::Start(dir, &w));

  const QDate today = QDate::currentDate();
  const QDate first(today.year() - 1, 1, 1);
  const QDate archive_before(today.year() - 1, 7, 1);
  Rng rng(20260101);

  std::vector<Income> incomes;
  std::vector<Expense> expenses;
  int check = 1001;
  for (QDate d = first; d <= today; d = d.addDays(1)) {
    if (d.dayOfWeek() <= 5 && rng.Below(3) == 0) {
      const int acc = rng.Below(10) < 6 ? 1 : 2 + rng.Below(2);
      const int folder = acc == 1 ? 1 : acc == 2 ? 2 : 3;
      const bool imported = acc == 1 && rng.Below(3) == 0;
      std::string desc = imported ? "Invoice payment" : std::string(kClients[rng.Below(8)]);
      incomes.push_back({d, acc, folder, desc, rng.Between(85, 2400), imported, d < archive_before});
    }
    if (d.day() == 28) {
      incomes.push_back({d, 4, 1, "Savings interest", rng.Between(3, 12), false, d < archive_before});
    }
    if (d.month() == 3 && d.day() == 15) {
      incomes.push_back({d, 5, 3, "Arts council grant", 2500.00, false, d < archive_before});
    }
    for (const Payee& p : kPayees) {
      const bool monthly = p.low == p.high;
      if ((monthly && d.day() == 1) || (!monthly && rng.Below(16) == 0)) {
        const bool by_check = p.account == 30 || p.account == 50 || rng.Below(4) == 0;
        expenses.push_back({d, by_check ? check++ : 0, p.account, p.folder, p.name, p.memo,
                            rng.Between(p.low, p.high), d < archive_before});
      }
    }
  }

  KPR_RETURN_IF_ERROR(w->WriteTable("FOLDER", 3, [&](RecordImage& r, uint64_t i) {
    r.SetNumber(0, static_cast<double>(i + 1));
    r.SetText(1, kFolders[i]);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("ACCI", std::size(kIncomeAccounts), [&](RecordImage& r, uint64_t i) {
    r.SetNumber(0, kIncomeAccounts[i].number);
    r.SetText(1, kIncomeAccounts[i].name);
    r.SetLogical(2, kIncomeAccounts[i].flag);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("ACC", std::size(kExpenseAccounts), [&](RecordImage& r, uint64_t i) {
    r.SetNumber(0, kExpenseAccounts[i].number);
    r.SetText(1, kExpenseAccounts[i].name);
    r.SetLogical(2, kExpenseAccounts[i].flag);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("INC5", incomes.size(), [&](RecordImage& r, uint64_t i) {
    const Income& in = incomes[i];
    r.SetNumber(0, in.account);
    r.SetLogical(1, in.imported);
    r.SetText(2, Ymd(in.date));
    r.SetText(3, in.desc);
    r.SetNumber(4, in.amount);
    r.SetNumber(5, in.folder);
    r.SetLogical(6, in.archived);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("EXP5", expenses.size(), [&](RecordImage& r, uint64_t i) {
    const Expense& e = expenses[i];
    r.SetText(0, Ymd(e.date));
    r.SetNumber(1, e.check);
    r.SetNumber(2, e.account);
    r.SetNumber(3, e.folder);
    r.SetText(4, e.payee);
    r.SetNumber(5, e.amount);
    r.SetText(6, e.memo);
    r.SetLogical(7, e.archived);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("KPR1", 1, [&](RecordImage& r, uint64_t) {
    r.SetText(0, "Riverside Design & Print");
    r.SetNumber(1, 1);
    r.SetNumber(2, 1);
    r.SetNumber(4, 0);
  }));
  return w->Finish();
}

}  // namespace kpr
