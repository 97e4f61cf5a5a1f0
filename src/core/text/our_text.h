// Texts of ours that the core words for people (the checker's explanations,
// messages of the readers, tools and reports) go through trText() so that the
// program can show them in its user's language, while the core stays free of
// Qt: the program installs the translator, and without one every text stays
// as written (English). The Parts' own texts never go through here.
// scripts/translations.sh reads trText(context, text) as Qt's translate().
#pragma once

#include <initializer_list>
#include <string>

namespace ts {

// Returns `text` (UTF-8) in the current language; called from any thread.
using TextTranslator = std::string (*)(const char* context, const char* text);
void setTextTranslator(TextTranslator translator);

std::string trText(const char* context, const char* text);

// "%1" to "%9" in `pattern` replaced by the arguments, wherever the
// translation puts them ("%%" stays "%").
std::string withArgs(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace ts
