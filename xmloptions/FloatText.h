#pragma once

#include "xmloptions/PropertyTable.h"

#include <string>
#include <string_view>

// Float values as element text. Files always use "." as the decimal separator, so that a file
// written on one machine reads the same on every other; reading also accepts the separator of the
// machine's own locale, as older files may carry it.
namespace q7n {

// The decimal separator of the current C locale (LC_NUMERIC), as the second character of zero
// formatted with one decimal.
std::string DecimalSeparatorText();

// Text with every case-sensitive match of Pattern, scanned from the left, replaced. An empty
// Pattern, or one equal to Replacement, gives Text unchanged.
std::string ReplaceAll(std::string_view Text, std::string_view Pattern,
                       std::string_view Replacement);

// Parses a decimal float: blanks, a sign, digits with "." or the locale's separator, an exponent.
// Any other text reads as 0.
double TextToFloat(std::string_view Text);

// TextToFloat narrowed to single precision.
float TextToSingle(std::string_view Text);

// Element text of a float: "." as separator, the shortest text that reads back to the same
// single-precision value, or up to 15 significant digits for double precision.
std::string FloatToText(double Value, TFloatType Type);

// Value rounded to the precision of Type.
double NarrowFloat(double Value, TFloatType Type);

} // namespace q7n
