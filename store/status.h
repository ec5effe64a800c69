// Status: the result of every engine call that can fail.
//
// A Status is either OK or carries a code and a message. Messages name the
// file (and the record or field where there is one) so that they can be shown
// to the user as they stand.
#pragma once

#include <string>
#include <utility>

namespace kpr {

class Status {
 public:
  enum class Code { kOk = 0, kNotFound, kCorruption, kIOError, kInvalidArgument, kBusy };

  Status() = default;

  static Status OK() { return Status(); }
  static Status NotFound(std::string msg) { return Status(Code::kNotFound, std::move(msg)); }
  static Status Corruption(std::string msg) { return Status(Code::kCorruption, std::move(msg)); }
  static Status IOError(std::string msg) { return Status(Code::kIOError, std::move(msg)); }
  static Status InvalidArgument(std::string msg) {
    return Status(Code::kInvalidArgument, std::move(msg));
  }
  // The file is locked by another user of the data directory.
  static Status Busy(std::string msg) { return Status(Code::kBusy, std::move(msg)); }

  bool ok() const { return code_ == Code::kOk; }
  bool IsNotFound() const { return code_ == Code::kNotFound; }
  bool IsCorruption() const { return code_ == Code::kCorruption; }
  bool IsIOError() const { return code_ == Code::kIOError; }
  bool IsInvalidArgument() const { return code_ == Code::kInvalidArgument; }
  bool IsBusy() const { return code_ == Code::kBusy; }

  Code code() const { return code_; }
  const std::string& message() const { return message_; }

  // "OK", or the code's name followed by the message.
  std::string ToString() const;

 private:
  Status(Code code, std::string msg) : code_(code), message_(std::move(msg)) {}

  Code code_ = Code::kOk;
  std::string message_;
};

}  // namespace kpr

// Returns from the enclosing function when the expression's status is not OK.
#define KPR_RETURN_IF_ERROR(expr)          \
  do {                                     \
    ::kpr::Status _kpr_status = (expr);    \
    if (!_kpr_status.ok()) return _kpr_status; \
  } while (0)
