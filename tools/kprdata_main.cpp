// kprdata: the installer's and tester's tool for KPR data directories.
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/headless_report.h"
#include "reports/report_export.h"
#include "reports/report_printer.h"
#include "store/data_store.h"
#include "store/engine.h"
#include "store/installed_tables.h"
#include "tools/console_ui.h"
#include "tools/data_check.h"
#include "tools/generated_data.h"
#include "tools/sample_data.h"

namespace kpr {
namespace {

const char kUsage[] =
    "usage: kprdata create DIR\n"
    "       kprdata sample DIR\n"
    "       kprdata generate DIR --incomes N --expenses N [--accounts N] [--folders N]\n"
    "                            [--years N] [--deleted FRACTION] [--seed N] [--payments N]\n"
    "       kprdata dump DIR TABLE [--tag NAME]\n"
    "       kprdata check DIR\n"
    "       kprdata reindex DIR\n"
    "       kprdata pack DIR\n"
    "       kprdata report DIR chart-of-accounts --chart income|expense\n"
    "                          --format txt|tsv|pdf [--out FILE]\n";

// A failure the user must read: printed, exit status 1.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A wrong command line: the usage is shown too.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A report that cannot run as asked (bad option, no tables): exit status 2.
struct ReportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A report without lines: exit status 1.
struct NoData {};

void Check(const Status& s) {
  if (!s.ok()) throw Failure(s.message());
}

// --name value pairs after the positional arguments.
std::map<std::string, std::string> Options(const std::vector<std::string>& args, size_t from) {
  std::map<std::string, std::string> out;
  for (size_t i = from; i < args.size(); i += 2) {
    if (args[i].rfind("--", 0) != 0 || i + 1 >= args.size()) {
      throw UsageError("unexpected argument '" + args[i] + "'");
    }
    out[args[i].substr(2)] = args[i + 1];
  }
  return out;
}

uint64_t Number(const std::map<std::string, std::string>& o, const char* name, uint64_t dflt) {
  auto it = o.find(name);
  if (it == o.end()) return dflt;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(it->second.c_str(), &end, 10);
  if (it->second.empty() || *end != '\0') {
    throw UsageError("--" + std::string(name) + " needs a whole number, not '" + it->second + "'");
  }
  return v;
}

void NeedTables(DataStore& store) {
  if (!store.DataFilesPresent()) {
    throw Failure(store.directory() + ": the data tables (KPR1.dbf, ACC.dbf, EXP5.dbf, FOLDER.dbf, "
                  "INC5.dbf, ACCI.dbf) are not all there");
  }
}

std::string Trim(const std::string& s) {
  const auto a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

int Dump(DataStore& store, const std::string& name, const std::map<std::string, std::string>& o) {
  Engine& engine = store.engine();
  Table* t = engine.Open(name);
  if (t == nullptr) throw Failure(engine.error_message());
  // Say what the engine mended or worked around (a repaired count, a rebuilt
  // index); index problems are among these notes.
  for (const auto& note : engine.notes()) std::fprintf(stderr, "kprdata: %s\n", note.c_str());
  auto tag = o.find("tag");
  if (tag != o.end()) {
    Tag* g = t->FindTag(tag->second);
    if (g == nullptr) throw Failure(t->file_name() + ": no index tag named " + tag->second);
    t->SelectTag(g);
  }
  std::string line = "recno\tdeleted";
  for (const auto& f : t->fields()) line += "\t" + f.name;
  std::printf("%s\n", line.c_str());
  for (int r = t->Top(); r != Table::kEndOfFile; r = t->Skip(1)) {
    line = std::to_string(t->RecNo()) + "\t" + (t->Deleted() ? "*" : "");
    for (size_t i = 0; i < t->fields().size(); ++i) line += "\t" + Trim(t->Text(static_cast<int>(i)));
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  if (engine.error_code() < 0) throw Failure(engine.error_message());
  return 0;
}

int Pack(DataStore& store) {
  Engine& engine = store.engine();
  engine.set_access_mode(1);
  for (const char* name : {"INC5", "FOLDER", "EXP5", "ACC", "ACCI"}) {
    Table* t = engine.Open(name);
    if (t == nullptr) throw Failure(engine.error_message());
    Check(t->Pack());
    Check(engine.Close(t));
  }
  engine.set_access_mode(0);
  return 0;
}

// kprdata report DIR chart-of-accounts --chart income|expense --format
// txt|tsv|pdf [--out FILE]: the bytes the viewer's export writes, or the pages
// its Print writes to a PDF file when no printer is installed.
int Report(DataStore& store, const std::vector<std::string>& args) {
  if (args.size() < 3) throw ReportError("report needs DIR and a report name");
  if (args[2] != "chart-of-accounts") throw ReportError("unknown report '" + args[2] + "'");
  std::map<std::string, std::string> o;
  try {
    o = Options(args, 3);
  } catch (const UsageError& e) {
    throw ReportError(e.what());
  }
  for (const auto& [k, v] : o) {
    if (k != "chart" && k != "format" && k != "out") throw ReportError("unknown option --" + k);
  }
  const std::string chart = o.count("chart") ? o.at("chart") : "";
  const std::string format = o.count("format") ? o.at("format") : "";
  if (chart != "income" && chart != "expense") throw ReportError("--chart must be income or expense");
  if (format != "txt" && format != "tsv" && format != "pdf") {
    throw ReportError("--format must be txt, tsv or pdf");
  }
  if (format == "pdf" && !o.count("out")) throw ReportError("--format pdf needs --out FILE");
  if (!store.DataFilesPresent()) {
    throw ReportError(store.directory() + ": the data tables (KPR1.dbf, ACC.dbf, EXP5.dbf, "
                      "FOLDER.dbf, INC5.dbf, ACCI.dbf) are not all there");
  }
  store.RebuildIndexes(true);
  store.OpenSettings();
  store.LoadSettings();
  store.CloseAll();
  QPrinter printer(QPrinter::HighResolution);
  const QFont font = ReportFontFrom(QGuiApplication::font(), store.Settings);
  const auto doc = BuildChartOfAccountsDocument(store, chart == "income", &printer, font);
  if (doc->Empty()) throw NoData{};
  const QString out = o.count("out") ? QString::fromStdString(o.at("out")) : QString();
  if (format == "pdf") {
    if (!PrintReportToPdf(*doc, font, &printer, out)) throw Failure("Unable to save to: " + o.at("out"));
    return 0;
  }
  const ExportLayout layout = format == "txt" ? ExportLayout::kText : ExportLayout::kTabs;
  if (out.isEmpty()) {
    const QByteArray bytes = ExportBytes(*doc, layout);
    std::fwrite(bytes.data(), 1, static_cast<size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  return SaveExport(*doc, layout, out, store.ui()) ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() < 2 && !args.empty() && args[0] == "report") throw ReportError("report needs DIR");
  if (args.size() < 2) throw UsageError("missing command or directory");
  const std::string& cmd = args[0];
  const std::string& dir = args[1];
  ConsoleUi ui;
  if (cmd == "create") {
    if (args.size() != 2) throw UsageError("create takes only DIR");
    Check(FileSystem::Default()->CreateDir(dir));
    Check(CreateEmptyTables(FileSystem::Default(), dir));
    DataStore store(dir, &ui);
    store.RebuildIndexes(false);
    return 0;
  }
  if (cmd == "sample") {
    if (args.size() != 2) throw UsageError("sample takes only DIR");
    Check(WriteSampleData(dir));
    return 0;
  }
  if (cmd == "generate") {
    const auto o = Options(args, 2);
    for (const auto& [k, v] : o) {
      static const char* known[] = {"incomes", "expenses", "accounts", "folders", "years",
                                    "deleted", "seed",     "payments"};
      if (std::find_if(std::begin(known), std::end(known),
                       [&](const char* n) { return k == n; }) == std::end(known)) {
        throw UsageError("unknown option --" + k);
      }
    }
    GenerateOptions g;
    g.incomes = Number(o, "incomes", 0);
    g.expenses = Number(o, "expenses", 0);
    g.accounts = static_cast<int>(Number(o, "accounts", 40));
    g.folders = static_cast<int>(Number(o, "folders", 8));
    g.years = static_cast<int>(Number(o, "years", 3));
    g.seed = Number(o, "seed", 1);
    g.payments = Number(o, "payments", 0);
    if (o.count("deleted")) {
      char* end = nullptr;
      g.deleted = std::strtod(o.at("deleted").c_str(), &end);
      if (*end != '\0' || g.deleted < 0 || g.deleted > 1) {
        throw UsageError("--deleted needs a fraction from 0 to 1");
      }
    }
    Check(WriteGeneratedData(dir, g));
    return 0;
  }

  DataStore store(dir, &ui);
  store.engine().set_exit_handler([](const std::string& message) { throw Failure(message); });
  if (cmd == "dump") {
    if (args.size() < 3) throw UsageError("dump needs DIR and TABLE");
    NeedTables(store);
    return Dump(store, args[2], Options(args, 3));
  }
  if (cmd == "check") {
    if (args.size() != 2) throw UsageError("check takes only DIR");
    NeedTables(store);
    const auto problems = CheckDataDirectory(dir);
    for (const auto& p : problems) std::printf("%s\n", p.c_str());
    if (!problems.empty()) return 1;
    std::printf("%s: tables and indexes agree\n", dir.c_str());
    return 0;
  }
  if (cmd == "reindex") {
    NeedTables(store);
    store.RebuildIndexes(false);
    return 0;
  }
  if (cmd == "pack") {
    NeedTables(store);
    return Pack(store);
  }
  if (cmd == "report") return Report(store, args);
  throw UsageError("unknown command '" + cmd + "'");
}

}  // namespace
}  // namespace kpr

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Reports measure fonts, which needs a GUI application (no window is shown).
  const bool report = !args.empty() && args[0] == "report";
  if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QCoreApplication> app;  // locale and text codecs as the program has them
  if (report) {
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  try {
    return kpr::Run(args);
  } catch (const kpr::NoData&) {
    std::fprintf(stderr, "Report contains no data.\n");
    return 1;
  } catch (const kpr::ReportError& e) {
    std::fprintf(stderr, "kprdata: %s\n%s", e.what(), kpr::kUsage);
    return 2;
  } catch (const kpr::UsageError& e) {
    std::fprintf(stderr, "kprdata: %s\n%s", e.what(), kpr::kUsage);
    return 1;
  } catch (const kpr::Failure& e) {
    std::fprintf(stderr, "kprdata: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kprdata: %s\n", e.what());
    return 1;
  }
}
