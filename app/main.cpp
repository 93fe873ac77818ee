// zr740cps: the desktop programming software. It takes no command-line arguments; everything it
// needs lies beside the executable.
#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "app/Artwork.h"
#include "app/CMainFrame.h"
#include "app/CVanticApp.h"
#include "app/FormFactories.h"

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());

    CVanticApp app;
    app.Start(CVanticApp::ProgramDirectoryOfExecutable());

    CMainFrame frame(app);
    InstallFormFactories(frame);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    frame.resize(std::min(1280, screen.width()), std::min(860, screen.height()));
    frame.show();
    return QApplication::exec();
}
