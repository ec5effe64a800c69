// Index key expressions in the dBASE/Clipper dialect the tags use:
//   STR(field, len[, dec])   number right-aligned in len with dec decimals
//   DTOS(field)              date as "yyyymmdd" (blank date: eight blanks)
//   field                    the field's stored text, as wide as the field
//   a + b                    concatenation
// Names are matched without regard to case; blanks around tokens are free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/dbf_field.h"
#include "store/status.h"

namespace kpr {

class KeyExpression {
 public:
  // Parses text against the fields of a table. InvalidArgument names the
  // expression and what is wrong (unknown field, bad syntax, unknown function).
  static Status Parse(std::string_view text, const std::vector<DbfField>& fields,
                      KeyExpression* out);

  // Bytes of every key this expression yields.
  size_t key_size() const { return key_size_; }
  const std::string& text() const { return text_; }

  // Appends the key of a raw record (deletion mark at byte 0, fields at their
  // offsets, Windows-1252 bytes) to *key. Always appends exactly key_size().
  void Evaluate(const char* record, std::string* key) const;

 private:
  struct Part {
    enum class Kind { kField, kStr, kDtos } kind;
    DbfField field;
    int len = 0;
    int dec = 0;
  };
  // Appends STR(value, len, dec) of a numeric field's stored text.
  static void AppendStr(const char* stored, size_t width, int len, int dec, std::string* key);

  std::string text_;
  std::vector<Part> parts_;
  size_t key_size_ = 0;
};

}  // namespace kpr
