#include "store/key_expression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kpr {
namespace {

// Fields of a table like the ledger's, laid out after the deletion mark.
std::vector<DbfField> Fields() {
  std::vector<DbfField> fields = {
      {"ACCNO", 'N', 4, 0, 0},  {"FOLNO", 'N', 4, 0, 0},   {"EXPDATE", 'D', 8, 0, 0},
      {"INCDATE", 'D', 8, 0, 0}, {"IncAcc", 'N', 4, 0, 0}, {"NAME", 'C', 10, 0, 0},
      {"AMOUNT", 'N', 10, 2, 0}, {"NOTES", 'M', 10, 0, 0},
  };
  uint32_t offset = 1;
  for (DbfField& f : fields) {
    f.offset = offset;
    offset += f.width;
  }
  return fields;
}

// A raw record with the given stored texts (others blank).
std::string Record(const std::vector<std::pair<std::string, std::string>>& values) {
  const std::vector<DbfField> fields = Fields();
  std::string rec(1 + 4 + 4 + 8 + 8 + 4 + 10 + 10 + 10, ' ');
  for (const auto& [name, text] : values) {
    for (const DbfField& f : fields) {
      if (f.name == name) rec.replace(f.offset, text.size(), text);
    }
  }
  return rec;
}

std::string Eval(const std::string& expr, const std::string& record) {
  KeyExpression e;
  Status s = KeyExpression::Parse(expr, Fields(), &e);
  EXPECT_TRUE(s.ok()) << s.ToString();
  std::string key;
  e.Evaluate(record.data(), &key);
  EXPECT_EQ(key.size(), e.key_size()) << expr;
  return key;
}

TEST(KeyExpressionTest, KeysOfTheLedgerTags) {
  const std::string rec = Record({{"ACCNO", "  17"},
                                  {"FOLNO", " 203"},
                                  {"EXPDATE", "20240131"},
                                  {"INCDATE", "19991231"},
                                  {"IncAcc", "   5"}});
  struct Case {
    const char* expr;
    const char* key;
  } cases[] = {
      {"STR(ACCNO, 4)", "  17"},
      {"FOLNO", " 203"},
      {"DTOS(EXPDATE) + STR(ACCNO,4)", "20240131  17"},
      {"STR(ACCNO,4) + DTOS(EXPDATE)", "  1720240131"},
      {"DTOS(INCDATE)", "19991231"},
      {"Str(IncAcc,4,0)+DTOS(INCDATE)", "   519991231"},
      {"  str ( accno , 6 )  ", "    17"},
      {"STR(ACCNO)", "        17"},  // default length 10
      {"NAME", "          "},
      {"DTOS(EXPDATE)+NAME+FOLNO", "20240131           203"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expr, rec), c.key) << c.expr;
}

TEST(KeyExpressionTest, BlankDateGivesEightBlanks) {
  EXPECT_EQ(Eval("DTOS(EXPDATE)+STR(ACCNO,4)", Record({{"ACCNO", "   1"}})), "           1");
}

TEST(KeyExpressionTest, StrFormatsLikeDbase) {
  struct Case {
    const char* stored;  // AMOUNT's stored text (10 wide)
    int len;
    int dec;
    const char* want;
  } cases[] = {
      {"", 4, 0, "   0"},                 // blank reads as zero
      {"     12.50", 4, 0, "  13"},       // half rounds away from zero
      {"    -12.50", 4, 0, " -13"},
      {"     12.49", 4, 0, "  12"},
      {"     12.35", 6, 1, "  12.4"},
      {"      9.99", 5, 1, " 10.0"},      // carry into a new digit
      {"     99.99", 5, 0, "  100"},
      {"      0.00", 5, 2, " 0.00"},
      {"    -0.004", 5, 2, " 0.00"},      // no minus on a rounded zero
      {"      1.5", 6, 3, " 1.500"},       // decimals padded
      {"  99999.00", 4, 0, "****"},       // does not fit
      {"  -1234.00", 4, 0, "****"},
      {"  -123.00", 4, 0, "-123"},
      {"      9.99", 3, 1, "***"},        // 10.0 does not fit in 3
      {"      0.50", 1, 0, "1"},
      {"1234567.89", 10, 2, "1234567.89"},
  };
  for (const Case& c : cases) {
    std::string stored = c.stored;
    stored.resize(10, ' ');
    const std::string expr =
        "STR(AMOUNT," + std::to_string(c.len) + "," + std::to_string(c.dec) + ")";
    EXPECT_EQ(Eval(expr, Record({{"AMOUNT", stored}})), c.want)
        << expr << " of \"" << c.stored << "\"";
  }
}

TEST(KeyExpressionTest, RejectsWhatItCannotEvaluate) {
  const char* bad[] = {
      "",                      // nothing
      "STR(NOSUCH,4)",         // unknown field
      "NOSUCH",                //
      "UPPER(NAME)",           // unknown function
      "STR(NAME,4)",           // STR of text
      "DTOS(ACCNO)",           // DTOS of a number
      "STR(ACCNO,4",           // unclosed
      "STR(ACCNO,)",           // missing length
      "STR(ACCNO,0)",          // zero length
      "STR(ACCNO,4,5)",        // more decimals than length
      "ACCNO +",               // dangling operator
      "ACCNO FOLNO",           // two terms without an operator
      "ACCNO - FOLNO",         // unsupported operator
      "NOTES",                 // memo
      "DTOS(EXPDATE) + 1",     // literal
  };
  for (const char* text : bad) {
    KeyExpression e;
    Status s = KeyExpression::Parse(text, Fields(), &e);
    EXPECT_TRUE(s.IsInvalidArgument()) << "\"" << text << "\": " << s.ToString();
    EXPECT_NE(s.message().find(std::string("\"") + text + "\""), std::string::npos)
        << s.message();
  }
}

TEST(KeyExpressionTest, KeepsTheTextAsGiven) {
  KeyExpression e;
  ASSERT_TRUE(KeyExpression::Parse("Str(IncAcc,4,0)+DTOS(INCDATE)", Fields(), &e).ok());
  EXPECT_EQ(e.text(), "Str(IncAcc,4,0)+DTOS(INCDATE)");
  EXPECT_EQ(e.key_size(), 12u);
}

}  // namespace
}  // namespace kpr
