// A data directory for report tests, with a fixed date and the en_US locale,
// charts filled from tables of accounts, and golden-file comparison.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <memory>
#include <vector>

#include "reports/chart_of_accounts_report.h"
#include "reports/report_layout.h"
#include "store/clock.h"
#include "store/locale_formats.h"
#include "tests/support/paths.h"
#include "tests/support/data_dir.h"

namespace kpr {

class ReportFixture : public testing::DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    LocaleFormats::SetForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
    Clock::SetFixed(QDateTime(QDate(1999, 6, 30), QTime(12, 0)));
  }
  void TearDown() override {
    Clock::Reset();
    LocaleFormats::ResetForTesting();
  }

  void AddChart(bool income, const std::vector<AccountRecord>& accounts) {
    if (income) {
      store_->OpenIncomeAccounts();
    } else {
      store_->OpenExpenseAccounts();
    }
    Table* t = income ? store_->acci : store_->acc;
    for (const AccountRecord& a : accounts) {
      ASSERT_TRUE(t->AppendBlank().ok());
      (income ? store_->IncomeAccount : store_->ExpenseAccount) = a;
      ASSERT_TRUE((income ? store_->StoreIncomeAccount() : store_->StoreExpenseAccount()).ok());
    }
    store_->CloseAll();
  }

  // The chart of accounts document, built with pages of `lines_per_page`.
  std::unique_ptr<ReportDocument> Chart(bool income, int lines_per_page = 60) {
    if (income) {
      store_->OpenIncomeAccounts();
    } else {
      store_->OpenExpenseAccounts();
    }
    ReportLayout layout;
    BuildChartOfAccounts(*store_, income, lines_per_page, layout);
    store_->CloseAll();
    return layout.TakeDocument();
  }

  // Compares with tests/reports/golden/<name>; KPR_UPDATE_GOLDEN=1 rewrites it.
  static void ExpectGolden(const char* name, const QByteArray& bytes) {
    const QString path =
        QString::fromStdString(testing::SourceDir()) + "/tests/reports/golden/" + QString(name);
    QFile f(path);
    if (qEnvironmentVariableIsSet("KPR_UPDATE_GOLDEN")) {
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(bytes);
      return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(f.readAll(), bytes) << name;
  }
};

}  // namespace kpr
