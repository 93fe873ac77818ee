#include "app/CVanticApp.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "link/QtSerialPort.h"
#include "link/TraceSerialPort.h"

namespace {

// With ZR740_TRACE naming a file, every byte the program sends to and receives from the radio
// is appended to it (see link/TraceSerialPort.h).
SerialPortFactory PortFactory(const Clock& clock)
{
    SerialPortFactory ports = QtSerialPortFactory();
    const char* trace = std::getenv("ZR740_TRACE");
    if (trace == nullptr || *trace == '\0')
        return ports;
    std::string error;
    if (SerialPortFactory traced = TracingFactory(ports, trace, clock, error))
        return traced;
    std::fprintf(stderr, "zr740cps: no protocol trace: %s\n", error.c_str());
    return ports;
}

}  // namespace

CVanticApp::CVanticApp() : link_(std::make_unique<CDialog_MSComm>(PortFactory(clock_), clock_))
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

QString CVanticApp::BaseTitle() const { return QString::fromStdString(MainTitleFor(context_.language)); }
