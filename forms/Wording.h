#pragma once
// The words of the check's findings and of the imports' problems in the language of the
// interface. The rules make their findings in English (as the command-line tool prints them);
// a Chinese interface shows them through this table of phrases and patterns.
//
// A text is taken apart as it was put together: a known phrase ("Receive frequency"), or a pattern
// of fixed words around values ("list {} does not exist ({} in use)"), whose values are worded in
// turn; "where: what" texts are worded on both sides. Anything the table does not know stays as
// it is, so a new finding is never lost, only left in English.
#include <string>
#include <string_view>

#include "core/SystemSettings.h"

std::string InLanguage(std::string_view english, UiLanguage language);
