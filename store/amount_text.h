// Amounts, rates and numbers as text.
//
// Formats are printf-style "%<width>.<decimals>f" (e.g. "%9.2f" for typed
// amounts, "%10.4f" for rates) and "%<width>.<decimals>n" (the same with
// thousands separators, e.g. "%12.2n" in pick lists, "%13.2n" in reports).
// Both use the decimal and thousands separators of LocaleFormats, round half
// away from zero, write a negative number with a leading '-', never write
// "-0.00", and right-align in the width (a longer text is not cut).
// REQUIRES for every format argument: one of those shapes; otherwise
// std::invalid_argument.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <string>

namespace kpr {

// Typed number text to a double: blanks around it, an optional sign,
// digits, optionally the decimal separator and more digits, optionally an
// exponent ("e" or "E", optional sign, digits). A decimal separator with no
// digits at all is zero ("." is 0, "-." is -0). Throws ConversionError
// "'<text>' is not a valid floating point value" otherwise.
double TextToFloat(const QString& text);

// Reformats a typed amount or rate: blanks removed, converted by TextToFloat
// (throws ConversionError with the blank-free text), formatted with `format`.
// A text beginning with '-' whose value is not negative ("-0", "-.") gives
// "-" and the formatted zero, padded on the left to the length of `text`.
QString FormatAmountText(const QString& text, const QString& format);

// `value` formatted with `format`, rounded from its shortest decimal text
// (so 2.675 gives "2.68" with two decimals).
QString FormatNumber(double value, const QString& format);

// The exact value scaled / 10^scale (cents with scale 2) formatted with
// `format`. REQUIRES: 0 <= scale <= 18.
QString FormatScaled(qint64 scaled, int scale, const QString& format);

// `value` rounded half away from zero to `scale` decimals, as a count of
// 10^-scale units: taken from the shortest decimal text that reads back as
// `value`, so 2.675 and 1.005 round up at scale 2 although their binary
// values lie just below. nullopt when not finite or beyond the range of
// qint64. REQUIRES: 0 <= scale <= 18.
std::optional<qint64> RoundToScaled(double value, int scale);

// Decimal text of n with blanks on the left up to `width`; a longer text is
// returned whole ("   7" for 7 with width 4).
QString PadNumber(qint64 n, int width);

// The key to hand to the engine's seek: the Windows-1252 bytes of `text`, at
// most the first 60. (c_str() gives the zero-terminated form.)
std::string SeekKey(const QString& text);

}  // namespace kpr
