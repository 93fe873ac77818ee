#pragma once
// Catalogue texts as Qt strings for the windows.
#include <QString>

#include "core/TextCatalogue.h"

inline QString QText(const TextCatalogue& text, const char* section, int key)
{
    return QString::fromStdString(text.GetText(section, key));
}

inline std::string ToStd(const QString& text) { return text.toStdString(); }
