// Clock: the one source of "now" for the whole program.
//
// Everything that needs the current date or time asks Clock, so tests can fix
// it. Single-threaded, like the rest of the program.
#pragma once

#include <QDate>
#include <QDateTime>

namespace kpr {

class Clock {
 public:
  // The current local date and time, or the fixed value while one is set.
  static QDateTime Now();
  // The date of Now().
  static QDate Today();

  // Makes Now() return `now` until Reset(). For tests.
  static void SetFixed(const QDateTime& now);
  // Back to the system clock.
  static void Reset();
};

}  // namespace kpr
