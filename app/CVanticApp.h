#pragma once
// The application object: one for the run, created in main before the main window. It owns the
// shared AppContext (directory, settings, texts, Codeplug, current file) and the navigation
// state the forms read (current indexes, titles, label buffer, expansion flags), and knows the
// main window once it exists.
#include <filesystem>
#include <memory>
#include <string>

#include <QString>
#include <QStringList>

#include "core/AppContext.h"
#include "core/NavigationState.h"
#include "forms/FormBase.h"
#include "core/ProgramDirectories.h"
#include "link/CDialog_MSComm.h"
#include "link/Clock.h"
#include "link/TransferState.h"

class CMainFrame;

class CVanticApp {
public:
    // `tracePath`: a file that records every byte to and from the radio (zr740cps --trace FILE);
    // empty: the file ZR740_TRACE names, if any.
    explicit CVanticApp(const std::string& tracePath = {});
    ~CVanticApp();
    CVanticApp(const CVanticApp&) = delete;
    CVanticApp& operator=(const CVanticApp&) = delete;

    // The directory of the running executable (the program's files lie beside it).
    static std::filesystem::path ProgramDirectoryOfExecutable();
    // Where this run's settings and data are (beside the executable, or installed).
    static ProgramDirectories DirectoriesOfExecutable();

    // The program's command line (arguments[0] is the program): "--trace FILE" (also
    // "--trace=FILE"), "--help" and at most one codeplug file to open.
    struct CommandLine {
        std::string trace;  // "" without the option
        QString file;       // "" without one
        QString error;      // an unknown option, a missing value, a second file
        bool exitNow = false;  // --help has been answered on standard output
    };
    static CommandLine ParseCommandLine(const QStringList& arguments);

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
    VoxSettings& Vox() { return context_.vox; }

    // What the forms are given when they are created.
    FormContext& Forms() { return forms_; }

    CMainFrame* MainFrame() const { return mainFrame_; }
    void SetMainFrame(CMainFrame* frame) { mainFrame_ = frame; }

private:
    AppContext context_;
    NavigationState navigation_;
    FormContext forms_{context_, navigation_};
    SystemClock clock_;
    std::unique_ptr<CDialog_MSComm> link_;
    TransferState transfer_;
    CMainFrame* mainFrame_ = nullptr;
};
