#pragma once
// The application object: one for the run, created in main before the main window. It owns the
// shared AppContext (directory, settings, texts, Codeplug, current file) and the navigation
// state the forms read (current indexes, titles, label buffer, expansion flags), and knows the
// main window once it exists.
#include <filesystem>

#include <QString>

#include "app/AppContext.h"
#include "app/NavigationState.h"

class CMainFrame;

class CVanticApp {
public:
    CVanticApp() = default;
    CVanticApp(const CVanticApp&) = delete;
    CVanticApp& operator=(const CVanticApp&) = delete;

    // The directory of the running executable (the program's files lie beside it).
    static std::filesystem::path ProgramDirectoryOfExecutable();

    // Reads Sys.dat, fixes the language and its key base for the run and loads the texts.
    // Lookups that find no text are recorded (TextCatalogue::Misses).
    void Start(const std::filesystem::path& programDirectory);

    AppContext& Context() { return context_; }
    const AppContext& Context() const { return context_; }
    NavigationState& Navigation() { return navigation_; }
    const NavigationState& Navigation() const { return navigation_; }

    // The main window title of the run's language, without a file name.
    QString BaseTitle() const;

    CMainFrame* MainFrame() const { return mainFrame_; }
    void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }

private:
    AppContext context_;
    NavigationState navigation_;
    CMainFrame* mainFrame_ = nullptr;
};
