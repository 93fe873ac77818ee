#include "app/CVanticApp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "link/QtSerialPort.h"
#include "link/TraceSerialPort.h"

namespace {

// With a trace file (the --trace option, else ZR740_TRACE), every byte the program sends to and
// receives from the radio is appended to it (see link/TraceSerialPort.h).
SerialPortFactory PortFactory(const Clock& clock, std::string trace)
{
    SerialPortFactory ports = QtSerialPortFactory();
    if (trace.empty()) {
        const char* variable = std::getenv("ZR740_TRACE");
        trace = variable != nullptr ? variable : "";
    }
    if (trace.empty())
        return ports;
    std::string error;
    if (SerialPortFactory traced = TracingFactory(ports, trace, clock, error))
        return traced;
    std::fprintf(stderr, "zr740cps: no protocol trace: %s\n", error.c_str());
    return ports;
}

}  // namespace

CVanticApp::CVanticApp(const std::string& tracePath)
    : link_(std::make_unique<CDialog_MSComm>(PortFactory(clock_, tracePath), clock_))
{
    // The link's notes about a session (a radio with its own check-byte rule) go to the log.
    link_->SetNoteSink([](const std::string& note) { qInfo("link: %s", note.c_str()); });
}

CVanticApp::~CVanticApp() = default;

std::filesystem::path CVanticApp::ProgramDirectoryOfExecutable()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

ProgramDirectories CVanticApp::DirectoriesOfExecutable()
{
    return LocateProgramDirectories(ProgramDirectoryOfExecutable(), UserConfigDirectory());
}

void CVanticApp::Start(const std::filesystem::path& programDirectory, const std::filesystem::path& dataDirectory)
{
    context_.Start(programDirectory, dataDirectory);
    context_.text.SetRecordMisses(true);
    navigation_ = NavigationState{};
}

std::string CVanticApp::TraceOption(const QStringList& arguments, QString& error, bool& exitNow)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZR-740 programming software"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Record every byte sent to and received from the radio in FILE "
                                                  "(appended; one line a frame, with time stamps)."),
                                   QStringLiteral("FILE"));
    parser.addOption(trace);
    exitNow = false;
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return {};
    }
    if (parser.isSet(help)) {
        exitNow = true;
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return {};
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return {};
    }
    return parser.value(trace).toStdString();
}

QString CVanticApp::BaseTitle() const { return QString::fromStdString(MainTitleFor(context_.language)); }
