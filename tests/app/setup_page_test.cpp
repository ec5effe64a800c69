#include "app/setup_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "store/conversion_error.h"
#include "tests/support/data_dir.h"

namespace kpr {
namespace {

class SetupPageTest : public testing::DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    Reload();
  }

  // As at start-up: the settings buffer loaded once.
  void Reload() {
    store_->OpenSettings();
    store_->LoadSettings();
    store_->CloseAll();
  }

  void Save(int month, int day, const QString& font = "", int size = 0) {
    store_->Settings.FyMonth = month;
    store_->Settings.FyDay = day;
    store_->Settings.FontName = font;
    store_->Settings.FontSize = size;
    store_->OpenSettings();
    ASSERT_TRUE(store_->StoreSettings().ok());
    store_->CloseAll();
  }

  // The settings as stored, read back through a fresh buffer.
  SettingsRecord Stored() {
    const SettingsRecord keep = store_->Settings;
    Reload();
    SettingsRecord stored = store_->Settings;
    store_->Settings = keep;
    return stored;
  }

  std::unique_ptr<SetupPage> MakePage() {
    auto page = std::make_unique<SetupPage>(*store_, state_, nullptr);
    page->Fill(base_font_);
    return page;
  }

  QLineEdit* Edit(SetupPage& page, const char* name) { return page.findChild<QLineEdit*>(name); }

  AppState state_;
  QFont base_font_ = QFont("DejaVu Sans", 9);
};

TEST_F(SetupPageTest, ShorterMonthPullsTheDayBackAndStoresBoth) {
  Save(1, 31);
  Reload();
  auto page = MakePage();
  Edit(*page, "MaskEdit3")->setText("2");
  EXPECT_TRUE(page->MonthLeft());
  EXPECT_EQ(Edit(*page, "MaskEdit4")->text(), "28");
  EXPECT_EQ(Stored().FyMonth, 2);
  EXPECT_EQ(Stored().FyDay, 28);
}

TEST_F(SetupPageTest, RefusedValuesStoreNothing) {
  struct Case {
    const char* field;
    const char* text;
    QString message;
  };
  for (const Case& c : {Case{"MaskEdit3", "0", "Month must be between 1 and 12"},
                        Case{"MaskEdit3", "13", "Month must be between 1 and 12"},
                        Case{"MaskEdit4", "29", "Invalid Day for Specified Month"},
                        Case{"MaskEdit4", "0", "Invalid Day for Specified Month"}}) {
    Save(2, 10);
    Reload();
    ui_.Clear();
    auto page = MakePage();
    Edit(*page, c.field)->setText(c.text);
    const bool ok = std::string(c.field) == "MaskEdit3" ? page->MonthLeft() : page->DayLeft();
    EXPECT_FALSE(ok) << c.field << " " << c.text;
    EXPECT_EQ(ui_.texts(), std::vector<QString>{c.message});
    EXPECT_EQ(Stored().FyMonth, 2);
    EXPECT_EQ(Stored().FyDay, 10);
  }
}

TEST_F(SetupPageTest, NonNumberIsAConversionErrorAndStoresNothing) {
  Save(4, 5);
  Reload();
  auto page = MakePage();
  Edit(*page, "MaskEdit3")->setText("");
  EXPECT_THROW(page->MonthLeft(), ConversionError);
  EXPECT_EQ(Stored().FyMonth, 4);
}

TEST_F(SetupPageTest, ReportFontFollowsTheStoredNameAndSize) {
  struct Case {
    QString name;
    int size;
    QString family;
    int points;
  };
  for (const Case& c : {Case{"     ", 0, "DejaVu Sans", 9}, Case{"", 12, "DejaVu Sans", 12},
                        Case{"Courier New", 10, "Courier New", 10}}) {
    Save(1, 1, c.name, c.size);
    Reload();
    auto page = MakePage();
    EXPECT_EQ(state_.ReportFont.family(), c.family);
    EXPECT_EQ(state_.ReportFont.pointSize(), c.points);
    EXPECT_EQ(page->FontLine(), c.family + "@" + QString::number(c.points));
  }
}

TEST_F(SetupPageTest, FontDialogStoresItsFontEvenWhenCancelled) {
  Save(3, 1, "", 0);
  Reload();
  auto page = MakePage();
  page->choose_font = [](const QFont& preset) { return preset; };  // cancelled
  page->FontClicked();
  EXPECT_EQ(Stored().FontName.trimmed(), "DejaVu Sans");
  EXPECT_EQ(Stored().FontSize, 9);
  EXPECT_EQ(Stored().FyMonth, 3) << "the other settings are written as they are";
  page->choose_font = [](const QFont&) { return QFont("Courier New", 14); };
  page->FontClicked();
  EXPECT_EQ(Stored().FontName.trimmed(), "Courier New");
  EXPECT_EQ(Stored().FontSize, 14);
  EXPECT_EQ(page->FontLine(), "Courier New@14");
}

TEST_F(SetupPageTest, LeavingAFieldWithTextThatIsNoNumberShowsOneErrorBox) {
  Save(4, 5);
  Reload();
  auto page = MakePage();
  page->show();
  QLineEdit* month = Edit(*page, "MaskEdit3");
  month->setText("");
  month->setFocus();
  QApplication::processEvents();
  Edit(*page, "MaskEdit4")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"'' is not a valid integer value"});
  EXPECT_EQ(Stored().FyMonth, 4);
}

}  // namespace
}  // namespace kpr
