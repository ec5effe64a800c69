#include "store/key_expression.h"

#include <cctype>
#include <cstring>

namespace kpr {
namespace {

constexpr int kDefaultStrLen = 10;
constexpr int kMaxStrLen = 255;

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// A field name as the table header may give it: cut at the first NUL and
// without trailing blanks.
std::string_view CleanName(const std::string& name) {
  std::string_view v(name);
  v = v.substr(0, v.find('\0'));
  while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  return v;
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Recursive-descent reader over the expression text.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Ident(std::string_view* out) {
    SkipBlanks();
    if (pos_ >= text_.size() || !IsIdentStart(text_[pos_])) return false;
    const size_t start = pos_;
    while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
    *out = text_.substr(start, pos_ - start);
    return true;
  }
  bool Integer(int* out) {
    SkipBlanks();
    const size_t start = pos_;
    long v = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      v = v * 10 + (text_[pos_] - '0');
      if (v > 100000) return false;
      ++pos_;
    }
    if (pos_ == start) return false;
    *out = static_cast<int>(v);
    return true;
  }
  size_t pos() const { return pos_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Parses the leading number of a numeric field's stored text the way VAL()
// does: blanks, optional sign, digits, optional point and digits; anything
// else ends the number, and no digits at all read as zero.
void ParseStoredNumber(const char* p, size_t n, bool* negative, std::string* int_digits,
                       std::string* frac_digits) {
  size_t i = 0;
  while (i < n && (p[i] == ' ' || p[i] == '\0')) ++i;
  *negative = false;
  if (i < n && (p[i] == '-' || p[i] == '+')) {
    *negative = p[i] == '-';
    ++i;
  }
  while (i < n && p[i] >= '0' && p[i] <= '9') int_digits->push_back(p[i++]);
  if (i < n && p[i] == '.') {
    ++i;
    while (i < n && p[i] >= '0' && p[i] <= '9') frac_digits->push_back(p[i++]);
  }
}

// Adds one unit in the last place to a string of decimal digits.
void IncrementDigits(std::string* digits) {
  for (size_t i = digits->size(); i-- > 0;) {
    if ((*digits)[i] == '9') {
      (*digits)[i] = '0';
    } else {
      ++(*digits)[i];
      return;
    }
  }
  digits->insert(digits->begin(), '1');
}

}  // namespace

Status KeyExpression::Parse(std::string_view text, const std::vector<DbfField>& fields,
                            KeyExpression* out) {
  const std::string quoted = "key expression \"" + std::string(text) + "\"";
  auto bad = [&](const std::string& why) { return Status::InvalidArgument(quoted + ": " + why); };
  auto find_field = [&](std::string_view name, const DbfField** f) {
    for (const DbfField& field : fields) {
      if (EqualNoCase(CleanName(field.name), name)) {
        *f = &field;
        return true;
      }
    }
    return false;
  };

  KeyExpression result;
  result.text_ = std::string(text);
  Reader r(text);
  if (r.AtEnd()) return bad("empty");
  do {
    std::string_view name;
    if (!r.Ident(&name)) {
      return bad("a field name or function expected at position " + std::to_string(r.pos() + 1));
    }
    Part part;
    if (r.Take('(')) {
      std::string_view arg;
      if (!r.Ident(&arg)) return bad("a field name expected inside " + std::string(name) + "()");
      const DbfField* field = nullptr;
      if (!find_field(arg, &field)) return bad("unknown field " + std::string(arg));
      part.field = *field;
      if (EqualNoCase(name, "STR")) {
        if (field->type != 'N' && field->type != 'F') {
          return bad("STR() needs a numeric field, " + std::string(arg) + " is not numeric");
        }
        part.kind = Part::Kind::kStr;
        part.len = kDefaultStrLen;
        if (r.Take(',')) {
          if (!r.Integer(&part.len)) return bad("STR() length must be a whole number");
          if (r.Take(',') && !r.Integer(&part.dec)) {
            return bad("STR() decimals must be a whole number");
          }
        }
        if (part.len < 1 || part.len > kMaxStrLen) return bad("STR() length out of range");
        if (part.dec > part.len) return bad("STR() has more decimals than length");
      } else if (EqualNoCase(name, "DTOS")) {
        if (field->type != 'D') return bad("DTOS() needs a date field, " + std::string(arg) + " is not a date");
        part.kind = Part::Kind::kDtos;
        part.len = 8;
      } else {
        return bad("unknown function " + std::string(name) + "()");
      }
      if (!r.Take(')')) return bad("')' expected after the arguments of " + std::string(name) + "()");
    } else {
      const DbfField* field = nullptr;
      if (!find_field(name, &field)) return bad("unknown field " + std::string(name));
      if (field->type == 'M') return bad("memo field " + std::string(name) + " cannot be part of a key");
      part.kind = Part::Kind::kField;
      part.field = *field;
      part.len = field->width;
    }
    result.key_size_ += static_cast<size_t>(part.len);
    result.parts_.push_back(std::move(part));
  } while (r.Take('+'));
  if (!r.AtEnd()) return bad("unexpected text at position " + std::to_string(r.pos() + 1));
  *out = std::move(result);
  return Status::OK();
}

void KeyExpression::Evaluate(const char* record, std::string* key) const {
  for (const Part& part : parts_) {
    const char* stored = record + part.field.offset;
    switch (part.kind) {
      case Part::Kind::kField:
        key->append(stored, part.field.width);
        break;
      case Part::Kind::kDtos:
        // Dates are stored as yyyymmdd (blank: eight blanks) already.
        if (part.field.width >= 8) {
          key->append(stored, 8);
        } else {
          key->append(stored, part.field.width);
          key->append(8 - part.field.width, ' ');
        }
        break;
      case Part::Kind::kStr:
        AppendStr(stored, part.field.width, part.len, part.dec, key);
        break;
    }
  }
}

void KeyExpression::AppendStr(const char* stored, size_t width, int len, int dec,
                              std::string* key) {
  bool negative = false;
  std::string int_digits;
  std::string frac_digits;
  ParseStoredNumber(stored, width, &negative, &int_digits, &frac_digits);

  // Round to dec places, half away from zero, on the decimal digits.
  const bool round_up = frac_digits.size() > static_cast<size_t>(dec) && frac_digits[dec] >= '5';
  frac_digits.resize(static_cast<size_t>(dec), '0');
  if (round_up) {
    std::string all = int_digits + frac_digits;
    IncrementDigits(&all);
    int_digits = all.substr(0, all.size() - static_cast<size_t>(dec));
    frac_digits = all.substr(all.size() - static_cast<size_t>(dec));
  }
  const size_t lead = int_digits.find_first_not_of('0');
  int_digits = lead == std::string::npos ? "0" : int_digits.substr(lead);
  const bool zero = int_digits == "0" && frac_digits.find_first_not_of('0') == std::string::npos;

  std::string text;
  if (negative && !zero) text.push_back('-');
  text += int_digits;
  if (dec > 0) {
    text.push_back('.');
    text += frac_digits;
  }
  if (text.size() > static_cast<size_t>(len)) {
    key->append(static_cast<size_t>(len), '*');
  } else {
    key->append(static_cast<size_t>(len) - text.size(), ' ');
    key->append(text);
  }
}

}  // namespace kpr
