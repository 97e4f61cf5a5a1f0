// The language our own texts are shown in: Japanese or English, one at a
// time. The desktop's locale picks it (LC_ALL, LC_MESSAGES, LANG), `--lang`
// and Display > Language override it for a run. The Parts' own texts (the
// captions and messages the data and the driver know) never change with it.
#pragma once

#include <QString>

#include <optional>
#include <string>

namespace ts {

enum class Language { English, Japanese };

// "ja" or "en" (also "ja_JP.UTF-8", "en_GB", "C"); nothing for what is neither.
std::optional<Language> parseLanguage(const std::string& word);

// The desktop's choice from the environment as POSIX orders it: LC_ALL, then
// LC_MESSAGES, then LANG; Japanese only when the first one set says so.
Language languageFromEnvironment();

// Takes "--lang ja|en" and "--lang=ja|en" out of the arguments, wherever they
// stand, so that every subcommand (and its --help) honours them. Returns the
// language asked for, or the environment's; a bad word gives `error`.
Language takeLanguageArgument(int& argc, char** argv, std::string& error);

// Loads our translations (embedded in the program) and Qt's own for the
// language and installs them in the running application if there is one;
// English removes them. Safe to call again, e.g. from the Language menu.
void useLanguage(Language language);
Language currentLanguage();

// One of our texts in the current language, also before any QCoreApplication
// exists (a subcommand's --help, messages printed by command-line tools).
QString ourText(const char* context, const char* text);
std::string ourTextUtf8(const char* context, const char* text);

}  // namespace ts
