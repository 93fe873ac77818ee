#include "app/CVanticApp.h"

#include <QCoreApplication>
#include <QtGlobal>

#include "link/QtSerialPort.h"

CVanticApp::CVanticApp() : link_(std::make_unique<CDialog_MSComm>(QtSerialPortFactory(), clock_))
{
    // The link's notes about a session (a radio with its own check-byte rule) go to the log.
    link_->SetNoteSink([](const std::string& note) { qInfo("link: %s", note.c_str()); });
}

CVanticApp::~CVanticApp() = default;

std::filesystem::path CVanticApp::ProgramDirectoryOfExecutable()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

void CVanticApp::Start(const std::filesystem::path& programDirectory)
{
    context_.Start(programDirectory);
    context_.text.SetRecordMisses(true);
    navigation_ = NavigationState{};
}

QString CVanticApp::BaseTitle() const { return QString::fromStdString(MainTitleFor(context_.language)); }
