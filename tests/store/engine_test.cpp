// Engine settings and errors: exclusive access, the missing-tag error, the
// error code that reads and resets, and the program's fatal end.
#include "store/engine.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

struct Exited {
  std::string message;
  size_t open_tables;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeTable(dir_.File("Ledger.dbf"), {Field("NAME", 'C', 8)}).ok());
    Engine engine(dir_.path());
    Table* t = engine.Open("ledger");
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->CreateIndex("Ledger", {LiveTag("ByName", "NAME")}, false).ok());
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->SetText(0, "first").ok());
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->SetText(0, "deleted").ok());
    ASSERT_TRUE(t->Delete().ok());
  }

  TempDir dir_;
};

TEST_F(EngineTest, TablesOpenByNameWithoutRegardToCaseOrExtension) {
  for (const char* name : {"Ledger", "LEDGER", "ledger.dbf", "LEDGER.DBF"}) {
    Engine engine(dir_.path());
    Table* t = engine.Open(name);
    ASSERT_NE(t, nullptr) << name << ": " << engine.error_message();
    EXPECT_EQ(t->file_name(), "Ledger.dbf");
    EXPECT_NE(t->FindTag("BYNAME"), nullptr) << name;
  }
  Engine engine(dir_.path());
  engine.Open(dir_.File("Ledger.dbf"));
  EXPECT_EQ(engine.ErrorCode(), 0);
}

TEST_F(EngineTest, AutoOpenOffLeavesTheTagsClosed) {
  Engine engine(dir_.path());
  engine.set_auto_open(false);
  Table* t = engine.Open("Ledger");
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->tags().empty());
}

// The data store looks tags up one at a time and re-creates the group file
// when one is missing; the tags it found before must stay usable.
TEST_F(EngineTest, TagFoundBeforeTheGroupIsCreatedAgainStaysUsable) {
  Engine engine(dir_.path());
  Table* t = engine.Open("Ledger");
  ASSERT_NE(t, nullptr);
  Tag* by_name = t->FindTag("ByName");
  ASSERT_NE(by_name, nullptr);
  ASSERT_TRUE(t->CreateIndex("Ledger", {LiveTag("ByName", "NAME"), LiveTag("Other", "NAME")},
                             /*overwrite=*/true)
                  .ok());
  EXPECT_EQ(t->FindTag("byname"), by_name);
  EXPECT_EQ(Walk(t, by_name), (std::vector<uint32_t>{1}));
}

TEST_F(EngineTest, ExclusiveAccessKeepsEveryOtherOpenOut) {
  const struct {
    const char* what;
    int first_mode, second_mode;
    bool same_engine;
    bool second_opens;
  } cases[] = {
      {"exclusive, then shared in another engine", 1, 0, false, false},
      {"exclusive, then exclusive in another engine", 1, 1, false, false},
      {"shared, then exclusive in another engine", 0, 1, false, false},
      {"exclusive, then again in the same engine", 1, 1, true, false},
      {"shared twice", 0, 0, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Engine first(dir_.path()), other(dir_.path());
    Engine& second = c.same_engine ? first : other;
    first.set_access_mode(c.first_mode);
    ASSERT_NE(first.Open("Ledger"), nullptr) << first.error_message();
    second.set_access_mode(c.second_mode);
    Table* t = second.Open("Ledger");
    EXPECT_EQ(t != nullptr, c.second_opens);
    if (c.second_opens) continue;
    EXPECT_EQ(second.ErrorCode(), Engine::kErrorBusy);
    EXPECT_NE(second.error_message().find("Ledger.dbf"), std::string::npos)
        << second.error_message();
  }
  // Once the holder closes, the table opens again.
  Engine first(dir_.path()), second(dir_.path());
  first.set_access_mode(1);
  second.set_access_mode(1);
  Table* t = first.Open("Ledger");
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(first.Close(t).ok());
  EXPECT_NE(second.Open("Ledger"), nullptr) << second.error_message();
}

TEST_F(EngineTest, ExclusiveLockStaysWithTheTableThroughPack) {
  Engine holder(dir_.path()), other(dir_.path());
  holder.set_access_mode(1);
  Table* t = holder.Open("Ledger");
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(t->Pack().ok());  // a new file is swapped in
  EXPECT_EQ(other.Open("Ledger"), nullptr);
  EXPECT_EQ(other.ErrorCode(), Engine::kErrorBusy);
}

TEST_F(EngineTest, MissingTagNameIsAnErrorUnlessSwitchedOff) {
  Engine engine(dir_.path());
  Table* t = engine.Open("Ledger");
  ASSERT_NE(t, nullptr);
  EXPECT_NE(engine.FindTag(t, "byname"), nullptr);
  EXPECT_EQ(engine.ErrorCode(), 0);

  EXPECT_EQ(engine.FindTag(t, "NoSuchTag"), nullptr);
  EXPECT_EQ(engine.ErrorCode(), Engine::kErrorTagNotFound);
  EXPECT_NE(engine.error_message().find("NoSuchTag"), std::string::npos);
  EXPECT_NE(engine.error_message().find("Ledger.dbf"), std::string::npos);

  engine.set_missing_tag_error(false);
  EXPECT_EQ(engine.FindTag(t, "NoSuchTag"), nullptr);
  EXPECT_EQ(engine.ErrorCode(), 0);
}

TEST_F(EngineTest, ErrorCodeReadsAndResets) {
  Engine engine(dir_.path());
  EXPECT_EQ(engine.ErrorCode(), 0);
  EXPECT_EQ(engine.Open("NoSuchTable"), nullptr);
  EXPECT_EQ(engine.error_code(), Engine::kErrorOpen);  // looking does not reset
  EXPECT_NE(engine.error_message().find("NoSuchTable.dbf"), std::string::npos);
  EXPECT_EQ(engine.ErrorCode(), Engine::kErrorOpen);
  EXPECT_EQ(engine.ErrorCode(), 0);
  EXPECT_EQ(engine.error_code(), 0);
}

TEST_F(EngineTest, ExitTestWithANegativeCodeClosesTheTablesThenCallsTheHandler) {
  Engine engine(dir_.path());
  std::vector<Exited> exits;
  engine.set_exit_handler([&](const std::string& message) {
    exits.push_back({message, engine.tables().size()});
    throw Exited{message, engine.tables().size()};
  });
  Table* t = engine.Open("Ledger");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->Go(1), Table::kOnRecord);
  ASSERT_TRUE(t->SetText(0, "changed").ok());  // not written yet

  engine.ExitTest();  // no error: nothing happens
  EXPECT_TRUE(exits.empty());

  EXPECT_EQ(engine.Open("Missing"), nullptr);
  EXPECT_THROW(engine.ExitTest(), Exited);
  ASSERT_EQ(exits.size(), 1u);
  EXPECT_EQ(exits[0].open_tables, 0u);  // closed before the handler ran
  EXPECT_NE(exits[0].message.find("Missing.dbf"), std::string::npos) << exits[0].message;

  Engine reader(dir_.path());
  Table* r = reader.Open("Ledger");
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->Go(1), Table::kOnRecord);
  EXPECT_EQ(r->Text(0), "changed ");  // the pending change was written on the way out
  EXPECT_TRUE(reader.notes().empty()) << reader.notes().front();  // closed cleanly
}

TEST_F(EngineTest, ExitTestAfterTheCodeWasReadDoesNothing) {
  Engine engine(dir_.path());
  int calls = 0;
  engine.set_exit_handler([&](const std::string&) {
    ++calls;
    throw Exited{};
  });
  EXPECT_EQ(engine.Open("Missing"), nullptr);
  EXPECT_EQ(engine.ErrorCode(), Engine::kErrorOpen);
  engine.ExitTest();
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace kpr::testing
