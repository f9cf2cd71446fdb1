// The text-to-number rule of the lines-per-file field and the running count.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenlo {

// The value of the longest leading part of text that forms a number: optional sign,
// digits, optional decimal point and digits, optional exponent; or "&H"/"&O" followed
// by a hexadecimal or octal whole number. Blanks, tabs and line feeds are ignored
// wherever they stand. A text that does not begin with a number gives 0.
double LeadingNumber(std::string_view text);

// True when text begins with a number by that rule, so that its 0 is a value read,
// not a text without a number ("-0" and "- .5" do, "-", "-." and "&H" do not).
bool BeginsWithNumber(std::string_view text);

// The file limit that a lines-per-file value N gives: the count c of lines in a
// file only ever equals N when N is a whole number from 1 on, and beyond 2^62
// lines no file is ever full; -1 then.
std::int64_t FileLimit(double linesPerFile);

// A count as a plain decimal integer: no grouping, no exponent, no fraction.
std::string FormatWholeNumber(double value);

}  // namespace quenlo
