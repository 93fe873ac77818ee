#pragma once
// Rules of the file commands that need no window: the title, when Save must ask for a name,
// the filter list of the file dialogs and the wording of file errors.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/SystemSettings.h"
#include "codeplug/CodeplugFile.h"

// Base title alone, or base title + "[" + name + "]" (a file's path, "Read from radio SN0742").
std::string TitleWithName(const std::string& baseTitle, const std::string& name);

// True while there is no current file (a codeplug read from a radio) or the current file is the
// default file beside the program, compared as exact (case-sensitive) strings; Save then asks
// for a name so the default file is never overwritten.
bool SaveNeedsName(const std::filesystem::path& currentFile, const std::filesystem::path& programDirectory);

// The name Save proposes for a codeplug read from a radio: "<serial>-<local date>.VNTX",
// "SN0742-20261207.VNTX".
std::string ProposedReadFileName(const Codeplug& codeplug, std::chrono::system_clock::time_point when);

// Splits a filter text of the form "desc|pattern|desc|pattern||" into (description, patterns)
// pairs. Patterns separated by ';' come back separated by spaces. Pairs with an empty pattern and
// a trailing description without a pattern are dropped.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter);

// The same pairs as file-dialog filters "desc (patterns)"; a description that already ends in
// "(patterns)" is kept as it is.
std::vector<std::string> FileDialogFilters(std::string_view filter);

// The message for a file that could not be opened or written, in the language of the run.
std::string FileErrorMessage(UiLanguage language, FileStatus status, const std::filesystem::path& file,
                             const std::string& detail);
