#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace calculation {

// Numbers as they stand in grid cells and files. Cells are read with the decimal separator of the
// current locale (QLocale()); surrounding blanks are allowed, anything else that is not part of the
// number makes the text invalid. The empty text is not a number.

// A length or cost: a decimal number, kept as a 32-bit float.
std::optional<float> parseNumber(const QString& text);
// The same number before it is rounded to a float, for limits that the rounding would hide.
std::optional<double> parseDecimal(const QString& text);
// A quantity: a signed 32-bit decimal integer.
std::optional<int32_t> parseInteger(const QString& text);

// At most 40 characters of a text, for a message; a longer text is cut and ends in "…".
QString excerpt(const QString& text);

// Totals of lengths and costs: the shortest general form with up to 15 significant digits in the
// current locale ("0.100000001490116" for the float nearest 0.1, "1200" for 1200).
QString formatTotal(double value);

// A number written with a picture: "0" a digit always written, "#" a digit written only when
// significant, "." the locale's decimal separator; any other character is copied unchanged.
QString formatPicture(double value, const QString& picture);

// The length pictures of the number-format list, by item index 0 to 4 ("######0" ... "######0.00##").
QString lengthPicture(int formatIndex);
QString formatLength(double value, int formatIndex);

} // namespace calculation
