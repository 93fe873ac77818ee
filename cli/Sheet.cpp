// zr740 export FILE --format pdf: the channel sheet the desktop program prints, as a PDF file,
// made without a display (Qt's offscreen platform).
#include <cstdlib>
#include <memory>

#include <QByteArray>
#include <QGuiApplication>

#include "core/AppContext.h"
#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"
#include "forms/ChannelSheet.h"
#include "forms/SheetPainter.h"

namespace cli {

int ExportSheetPdf(const std::filesystem::path& file, const std::string& output, const std::string& page,
                   const std::string& language)
{
    constexpr std::string_view verb = "export";
    if (output.empty() || output == "-") {
        PrintError(verb, "a PDF needs a file: -o SHEET.pdf");
        return kExitUsage;
    }
    if (!page.empty() && page != "a4" && page != "letter") {
        PrintError(verb, "--page is a4 or letter");
        return kExitUsage;
    }
    if (!language.empty() && language != "en" && language != "zh") {
        PrintError(verb, "--lang is en or zh");
        return kExitUsage;
    }
    auto codeplug = std::make_unique<Codeplug>();
    if (const int loaded = LoadCodeplugForVerb(verb, file, *codeplug, true); loaded != kExitOk)
        return loaded;

    // The texts and language of the desktop program beside this one.
    const ProgramDirectories folders = ProgramFolders();
    AppContext context;
    context.Start(folders.program, folders.data);
    if (!context.text.LoadError().empty()) {
        PrintError(verb, "cannot read the language file " + context.LanguagePath().string() + ": " +
                             context.text.LoadError());
        return kExitFailure;
    }
    if (!language.empty())
        context.text.SetKeyBase(TextKeyBaseFor(language == "en" ? UiLanguage::English : UiLanguage::Chinese));

    // Fonts and the PDF writer need a GUI application, but no display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "zr740";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    const QByteArray pdf =
        ChannelSheetPdf(BuildChannelSheet(*codeplug, context.text), page == "letter" ? QPageSize::Letter : QPageSize::A4);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pdf.constData());
    const FileResult written = ReplaceFileContents(output, std::span(bytes, static_cast<std::size_t>(pdf.size())));
    if (!written.ok()) {
        PrintError(verb, "cannot write " + output + ": " + written.detail);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace cli
