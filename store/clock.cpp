#include "store/clock.h"

#include <optional>

namespace kpr {
namespace {

std::optional<QDateTime>& Fixed() {
  static std::optional<QDateTime> fixed;
  return fixed;
}

}  // namespace

QDateTime Clock::Now() { return Fixed() ? *Fixed() : QDateTime::currentDateTime(); }

QDate Clock::Today() { return Now().date(); }

void Clock::SetFixed(const QDateTime& now) { Fixed() = now; }

void Clock::Reset() { Fixed().reset(); }

}  // namespace kpr
