#include "language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "text/our_text.h"

namespace ts {

namespace {

// One language's translators, loaded once and kept for the program's life:
// other threads (a checker, an analysis) may be translating while the user
// switches language, so nothing they might hold is ever freed.
struct LanguageSet {
    std::vector<std::unique_ptr<QTranslator>> ours;  // asked before Qt's
    std::unique_ptr<QTranslator> qt;
    bool loaded = false;
};

struct Translations {
    LanguageSet japanese;
    std::atomic<Language> language{Language::English};
    const QCoreApplication* installedIn = nullptr;  // the application they are installed in (UI thread)
};

Translations& translations() {
    static Translations t;
    return t;
}

const LanguageSet* setFor(Translations& t, Language language) {
    return language == Language::Japanese ? &t.japanese : nullptr;
}

void load(LanguageSet& set) {
    if (set.loaded) return;
    set.loaded = true;
    // Ours are built into the program (":/i18n/*_ja.qm").
    const QDir embedded(QStringLiteral(":/i18n"));
    for (const QString& name : embedded.entryList({QStringLiteral("*_ja.qm")}, QDir::Files, QDir::Name)) {
        auto tr = std::make_unique<QTranslator>();
        if (tr->load(embedded.filePath(name))) set.ours.push_back(std::move(tr));
    }
    // Qt's own (file dialogs, message box buttons) from the system's package.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        set.qt = std::move(qt);
}

void uninstall(Translations& t) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (t.installedIn && t.installedIn == app)
        if (const LanguageSet* set = setFor(t, Language::Japanese)) {
            for (auto& tr : set->ours) QCoreApplication::removeTranslator(tr.get());
            if (set->qt) QCoreApplication::removeTranslator(set->qt.get());
        }
    t.installedIn = nullptr;
}

void install(Translations& t) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || t.installedIn == app) return;
    t.installedIn = app;
    const LanguageSet* set = setFor(t, t.language.load());
    if (!set) return;
    // The last installed is asked first: Qt's, then ours on top.
    if (set->qt) QCoreApplication::installTranslator(set->qt.get());
    for (auto& tr : set->ours) QCoreApplication::installTranslator(tr.get());
}

// An application made after the language was chosen (the program's, a
// subcommand's, a test's) gets the translations as it starts.
void installAtStart() { install(translations()); }

std::string coreText(const char* context, const char* text) { return ourTextUtf8(context, text); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

std::optional<Language> parseLanguage(const std::string& word) {
    if (word.empty()) return std::nullopt;
    std::string lower;
    for (char c : word) lower += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower.rfind("ja", 0) == 0) return Language::Japanese;
    if (lower.rfind("en", 0) == 0 || lower == "c" || lower.rfind("c.", 0) == 0 || lower == "posix")
        return Language::English;
    return std::nullopt;
}

Language languageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return parseLanguage(value).value_or(Language::English);
    }
    return Language::English;
}

Language takeLanguageArgument(int& argc, char** argv, std::string& error) {
    Language language = languageFromEnvironment();
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0) {
            // Operands follow: nothing more is ours to take.
            for (; i < argc; ++i) argv[out++] = argv[i];
            break;
        }
        std::string word;
        if (std::strcmp(a, "--lang") == 0) {
            if (i + 1 < argc) word = argv[++i];
        } else if (std::strncmp(a, "--lang=", 7) == 0) {
            word = a + 7;
        } else {
            argv[out++] = argv[i];
            continue;
        }
        if (word == "ja" || word == "en")
            language = *parseLanguage(word);
        else if (error.empty())
            error = "--lang takes ja or en";
    }
    argc = out;
    argv[argc] = nullptr;
    return language;
}

void useLanguage(Language language) {
    Translations& t = translations();
    uninstall(t);
    if (LanguageSet* set = language == Language::Japanese ? &t.japanese : nullptr) load(*set);
    t.language.store(language);
    setTextTranslator(language == Language::English ? nullptr : &coreText);
    install(t);
    // Windows already open retranslate themselves on the LanguageChange event
    // that installing and removing translators sends.
}

Language currentLanguage() { return translations().language.load(); }

QString ourText(const char* context, const char* text) {
    Translations& t = translations();
    if (const LanguageSet* set = setFor(t, t.language.load()))
        for (const auto& tr : set->ours) {
            const QString s = tr->translate(context, text);
            if (!s.isEmpty()) return s;
        }
    return QString::fromUtf8(text);
}

std::string ourTextUtf8(const char* context, const char* text) { return ourText(context, text).toStdString(); }

}  // namespace ts
