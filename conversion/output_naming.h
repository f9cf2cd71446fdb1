// Names of the files a run writes and the one earlier file it removes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "conversion/conversion_host.h"

namespace quenlo {

// "yyyy-mm-dd", zero-padded.
std::string DateStamp(const CalendarDate& date);

// n + "-" + date stamp + ".txt".
std::string OutputFileName(std::int64_t fileNumber, const CalendarDate& date);

// True for every name OutputFileName can produce, whatever the number and date.
bool IsOutputFileName(std::string_view name);

// The input's name between its last separator and its last ".txt" (exact case).
// "\", "/" and ":" all count as separators, so the name never leads out of the
// results folder. Empty when there is no ".txt" after the last separator.
std::optional<std::string> InputBaseName(std::string_view inputPath);

// Name of the earlier file a run deletes: base name + "-" + date stamp + ".txt".
// Empty when there is no base name, or when that name is one of the numbered
// output names (a base name of digits only), which must never be deleted.
std::optional<std::string> CleanupFileName(std::string_view inputPath, const CalendarDate& date);

// The path from UTF-8 text: wide on Windows, the same bytes elsewhere.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace quenlo
