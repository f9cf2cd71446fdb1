#include "cli/language.h"

#include <clocale>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32_file_system.h"
#else
#include <libintl.h>
#endif

namespace quenlo {

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* name : {lcAll, lcMessages, lang}) {
        if (name && *name) {
            return std::string_view(name).starts_with("zh") ? Language::Chinese : Language::English;
        }
    }
    return Language::English;
}

#ifdef _WIN32

Language ConsoleLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese
                                                                     : Language::English;
}

void UseLanguageForSystemReasons(Language language) {
    SetSystemErrorLanguage(language == Language::Chinese
                               ? GetUserDefaultUILanguage()
                               : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

#else

Language ConsoleLanguage() {
    return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

void UseLanguageForSystemReasons(Language language) {
    // The "C" locale the program starts in gives strerror's English. For Chinese the
    // user's own locale, or zh_CN.UTF-8 when theirs is not installed; gettext would
    // turn the text into the "C" character set's question marks without the codeset.
    if (language == Language::Chinese) {
        // GNU's LANGUAGE list would put the reasons in a language of its own beside
        // our Chinese; the locale variables alone choose, as they chose ours.
        ::unsetenv("LANGUAGE");
        if (!std::setlocale(LC_MESSAGES, "")) {
            std::setlocale(LC_MESSAGES, "zh_CN.UTF-8");
        }
        bind_textdomain_codeset("libc", "UTF-8");
    }
}

#endif

}  // namespace quenlo
