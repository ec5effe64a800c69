#include "tools/generated_data.h"

#include <QDate>
#include <cstdio>
#include <cstring>

#include "store/dbf_header.h"
#include "store/dbf_table.h"
#include "tools/data_writer.h"

namespace kpr {
namespace {

// SplitMix64: fast, and the same on every machine.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t Next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  uint64_t Below(uint64_t n) { return Next() % n; }
  bool Chance(double p) { return (Next() >> 11) * (1.0 / 9007199254740992.0) < p; }

 private:
  uint64_t s_;
};

// Writes the date as yyyymmdd into 8 bytes.
void PutYmd(char* dst, const QDate& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year(), d.month(), d.day());
  std::memcpy(dst, buf, 8);
}

const char* const kWords[] = {"Invoice", "Payment", "Supplies", "Service", "Repair",
                              "Consulting", "Materials", "Subscription", "Rent", "Freight"};

class DayTable {
 public:
  DayTable(int years) {
    const QDate last = QDate::currentDate();
    const QDate first = last.addYears(-years).addDays(1);
    for (QDate d = first; d <= last; d = d.addDays(1)) {
      char ymd[8];
      PutYmd(ymd, d);
      days_.emplace_back(ymd, 8);
    }
  }
  const std::string& Pick(Rng& rng) const { return days_[rng.Below(days_.size())]; }

 private:
  std::vector<std::string> days_;
};

}  // namespace

Status WriteGeneratedData(const std::string& dir, const GenerateOptions& o) {
  if (o.accounts < 1 || o.accounts > 9999 || o.folders < 1 || o.folders > 9999 || o.years < 1 ||
      o.deleted < 0 || o.deleted > 1) {
    return Status::InvalidArgument("options out of range");
  }
  std::unique_ptr<DataWriter> w;
  KPR_RETURN_IF_ERROR(DataWriter::Start(dir, &w));
  const DayTable days(o.years);
  Rng rng(o.seed);
  char text[64];

  KPR_RETURN_IF_ERROR(w->WriteTable("FOLDER", o.folders, [&](RecordImage& r, uint64_t i) {
    r.SetNumber(0, static_cast<double>(i + 1));
    std::snprintf(text, sizeof text, "Folder %llu", static_cast<unsigned long long>(i + 1));
    r.SetText(1, text);
  }));
  for (const char* chart : {"ACCI", "ACC"}) {
    KPR_RETURN_IF_ERROR(w->WriteTable(chart, o.accounts, [&](RecordImage& r, uint64_t i) {
      r.SetNumber(0, static_cast<double>(i + 1));
      std::snprintf(text, sizeof text, "%s account %llu", chart[3] ? "Income" : "Expense",
                    static_cast<unsigned long long>(i + 1));
      r.SetText(1, text);
      r.SetLogical(2, i % 4 != 3);
    }));
  }
  KPR_RETURN_IF_ERROR(w->WriteTable("INC5", o.incomes, [&](RecordImage& r, uint64_t i) {
    r.SetDeleted(rng.Chance(o.deleted));
    r.SetNumber(0, static_cast<double>(1 + rng.Below(o.accounts)));
    r.SetLogical(1, rng.Below(5) == 0);
    r.SetText(2, days.Pick(rng));
    std::snprintf(text, sizeof text, "%s %llu", kWords[rng.Below(10)],
                  static_cast<unsigned long long>(i + 1));
    r.SetText(3, text);
    r.SetNumber(4, static_cast<double>(rng.Below(500000) + 100) / 100.0);
    r.SetNumber(5, static_cast<double>(1 + rng.Below(o.folders)));
    r.SetLogical(6, rng.Below(10) == 0);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("EXP5", o.expenses, [&](RecordImage& r, uint64_t i) {
    r.SetDeleted(rng.Chance(o.deleted));
    r.SetText(0, days.Pick(rng));
    r.SetNumber(1, rng.Below(3) == 0 ? static_cast<double>(1000 + i) : 0.0);
    r.SetNumber(2, static_cast<double>(1 + rng.Below(o.accounts)));
    r.SetNumber(3, static_cast<double>(1 + rng.Below(o.folders)));
    std::snprintf(text, sizeof text, "Payee %llu", static_cast<unsigned long long>(rng.Below(5000)));
    r.SetText(4, text);
    r.SetNumber(5, static_cast<double>(rng.Below(300000) + 100) / 100.0);
    r.SetText(6, kWords[rng.Below(10)]);
    r.SetLogical(7, rng.Below(10) == 0);
  }));
  KPR_RETURN_IF_ERROR(w->WriteTable("KPR1", 1, [&](RecordImage& r, uint64_t) {
    r.SetText(0, "Generated Test Company");
    r.SetNumber(1, 1);
    r.SetNumber(2, 1);
    r.SetNumber(4, 0);
  }));

  if (o.payments > 0) {
    DbfField pdate{"PDATE", 'D', 8, 0, 0}, pamt{"PAMT", 'N', 10, 2, 0}, ivno{"IVNO", 'C', 8, 0, 0};
    DbfHeader h;
    KPR_RETURN_IF_ERROR(DbfHeader::Layout({pdate, pamt, ivno}, &h));
    const std::string path = JoinPath(dir, "pmt.dbf");
    if (FileSystem::Default()->Exists(path)) {
      return Status::InvalidArgument(path + ": the table exists already; not overwriting it");
    }
    std::unique_ptr<DbfWriter> pw;
    KPR_RETURN_IF_ERROR(
        DbfWriter::Start(FileSystem::Default(), path, EncodeDbfHeader(h), h.record_length, &pw));
    RecordImage r(h.fields);
    for (uint64_t i = 0; i < o.payments; ++i) {
      r.Clear();
      r.SetText(0, days.Pick(rng));
      r.SetNumber(1, static_cast<double>(rng.Below(200000) + 100) / 100.0);
      std::snprintf(text, sizeof text, "%08llu", static_cast<unsigned long long>(10000 + i));
      r.SetText(2, text);
      KPR_RETURN_IF_ERROR(pw->Add(r.data()));
    }
    KPR_RETURN_IF_ERROR(pw->Finish());
  }
  return w->Finish();
}

}  // namespace kpr
