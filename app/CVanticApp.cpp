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

CVanticApp::CommandLine CVanticApp::ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZR-740 programming software"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Record every byte sent to and received from the radio in FILE "
                                                  "(appended; one line a frame, with time stamps)."),
                                   QStringLiteral("FILE"));
    parser.addOption(trace);
    parser.addPositionalArgument(QStringLiteral("FILE.VNTX"), QStringLiteral("A codeplug file to open."),
                                 QStringLiteral("[FILE.VNTX]"));
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    if (parser.isSet(help)) {
        line.exitNow = true;
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        line.error = QStringLiteral("one codeplug file at most, not: ") + files.join(' ');
        return line;
    }
    line.file = files.value(0);
    line.trace = parser.value(trace).toStdString();
    return line;
}

QString CVanticApp::BaseTitle() const { return QString::fromStdString(MainTitleFor(context_.language)); }
