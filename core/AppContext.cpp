#include "core/AppContext.h"

#include <string>

void AppContext::Start(const std::filesystem::path& directory, const std::filesystem::path& data)
{
    programDirectory = directory;
    dataDirectory = data;
    settings.Load(SettingsPath());
    language = LanguageFromSetting(settings.language());
    text.SetKeyBase(TextKeyBaseFor(language));
    // A language without texts of its own in the file shows the English ones, never blanks.
    text.SetFallbackKeyBase(language == UiLanguage::Other ? TextKeyBaseFor(UiLanguage::English) : -1);
    text.LoadFile(LanguagePath());
}

std::string AppContext::StartupProblem() const
{
    if (text.LoadError().empty())
        return {};
    const std::string file = LanguagePath().string();
    // Said in both languages: without the file there is no text to say it with.
    return "无法读取语言文件 " + file + "（" + text.LoadError() + "）。程序的文字将显示为空白，请重新安装本软件。\n\n" +
           "The language file " + file + " cannot be read (" + text.LoadError() +
           "). The program's texts will be blank; reinstall the program.";
}
