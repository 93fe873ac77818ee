// zr740cps: the desktop programming software. Everything it needs lies beside the executable
// (or, installed, in its data folder and the user's configuration folder). Its one option,
// --trace FILE, records the traffic with the radio for a bug report.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

#include "app/Artwork.h"
#include "app/CMainFrame.h"
#include "app/CVanticApp.h"
#include "app/FormFactories.h"
#include "app/QtLanguage.h"

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());

    QString error;
    bool exitNow = false;
    const std::string trace = CVanticApp::TraceOption(QApplication::arguments(), error, exitNow);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "zr740cps: %s\nusage: zr740cps [--trace FILE]\n", error.toLocal8Bit().constData());
        return 2;
    }
    if (exitNow)
        return 0;

    CVanticApp app(trace);
    app.Start(CVanticApp::DirectoriesOfExecutable());
    InstallQtTranslations(qtApp, app.Context().language,
                          QtCatalogueFolders(QString::fromStdString(app.Context().DataDirectory().string())));

    CMainFrame frame(app);
    InstallFormFactories(frame);

    frame.ShowFitted(QGuiApplication::primaryScreen()->availableGeometry());
    return QApplication::exec();
}
