#pragma once
// The application object: one for the run, created in main before the main window. It owns the
// shared AppContext (directory, settings, texts, Codeplug, current file) and the navigation
// state the forms read (current indexes, titles, label buffer, expansion flags), and knows the
// main window once it exists.
#include <filesystem>
#include <memory>

#include <QString>

#include "app/AppContext.h"
#include "app/NavigationState.h"
#include "app/ProgramDirectories.h"
#include "forms/functions/VoxRules.h"
#include "link/CDialog_MSComm.h"
#include "link/Clock.h"
#include "link/TransferState.h"

class CMainFrame;

class CVanticApp {
public:
    CVanticApp();
    ~CVanticApp();
    CVanticApp(const CVanticApp&) = delete;
    CVanticApp& operator=(const CVanticApp&) = delete;

    // The directory of the running executable (the program's files lie beside it).
    static std::filesystem::path ProgramDirectoryOfExecutable();
    // Where this run's settings and data are (beside the executable, or installed).
    static ProgramDirectories DirectoriesOfExecutable();

    // Reads Sys.dat, fixes the language and its key base for the run and loads the texts.
    // Lookups that find no text are recorded (TextCatalogue::Misses).
    void Start(const std::filesystem::path& programDirectory, const std::filesystem::path& dataDirectory = {});
    void Start(const ProgramDirectories& directories) { Start(directories.program, directories.data); }

    AppContext& Context() { return context_; }
    const AppContext& Context() const { return context_; }
    NavigationState& Navigation() { return navigation_; }
    const NavigationState& Navigation() const { return navigation_; }

    // The main window title of the run's language, without a file name.
    QString BaseTitle() const;

    // The one link object through which all serial traffic passes, and the state the transfer
    // dialog shares with its workers (it outlives each dialog: IdAutoIncrement survives).
    CDialog_MSComm& Link() { return *link_; }
    TransferState& Transfer() { return transfer_; }

    // The VOX form's settings: held for the run only, neither saved nor sent to the radio.
    VoxSettings& Vox() { return vox_; }

    CMainFrame* MainFrame() const { return mainFrame_; }
    void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }

private:
    AppContext context_;
    NavigationState navigation_;
    SystemClock clock_;
    std::unique_ptr<CDialog_MSComm> link_;
    TransferState transfer_;
    VoxSettings vox_;
    CMainFrame* mainFrame_ = nullptr;
};
