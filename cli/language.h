// The one language quenlo-split speaks in a run: Chinese for a Chinese user, English
// for everyone else. Its messages, --help and the system's reasons follow it.
#pragma once

#include <string_view>

namespace quenlo {

enum class Language { Chinese, English };

// POSIX: the first of LC_ALL, LC_MESSAGES, LANG that is set and not empty decides
// (zh_* is Chinese). Windows: the user's interface language.
Language ConsoleLanguage();

// POSIX locale names, in the order they are looked at; null or empty for unset.
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// Makes the system's reasons for failed file operations come in that language,
// where the system has it.
void UseLanguageForSystemReasons(Language language);

// The text in the run's language.
inline std::string_view Say(Language language, std::string_view chinese, std::string_view english) {
    return language == Language::Chinese ? chinese : english;
}

}  // namespace quenlo
