// zr740cps: the desktop programming software. Everything it needs lies beside the executable
// (or, installed, in its data folder and the user's configuration folder). A codeplug file named
// on the command line is opened (the desktop's file manager starts it so); --trace FILE records
// the traffic with the radio for a bug report.
#include <QApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>

#include "ui/Artwork.h"
#include "app/CMainFrame.h"
#include "app/DocumentCommands.h"
#include "app/CVanticApp.h"
#include "app/ExitWhenShown.h"
#include "app/FormFactories.h"
#include "app/QtLanguage.h"
#include "codeplug/CodeplugFile.h"

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    QApplication qtApp(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());

    const CVanticApp::CommandLine line = CVanticApp::ParseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "zr740cps: %s\nusage: zr740cps [--trace FILE] [FILE.VNTX]\n",
                     line.error.toLocal8Bit().constData());
        return 2;
    }
    if (line.exitNow)
        return 0;

    CVanticApp app(line.trace);
    app.Start(CVanticApp::DirectoriesOfExecutable());
    InstallQtTranslations(qtApp, app.Context().language,
                          QtCatalogueFolders(QString::fromStdString(app.Context().DataDirectory().string())));

    CMainFrame frame(app);
    InstallFormFactories(frame);

    frame.ShowFitted(QGuiApplication::primaryScreen()->availableGeometry());
    ExitWhenShown(frame);
    if (!line.file.isEmpty())
        frame.Documents().OpenCodeplugFile(QFileInfo(line.file).absoluteFilePath().toStdString());
    return QApplication::exec();
}
