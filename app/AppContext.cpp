#include "app/AppContext.h"

void AppContext::Start(const std::filesystem::path& directory)
{
    programDirectory = directory;
    settings.Load(SettingsPath());
    language = LanguageFromSetting(settings.language());
    text.SetKeyBase(TextKeyBaseFor(language));
    text.LoadFile(LanguagePath());
}
