// zr740cps: the desktop programming software. It takes no command-line arguments; everything it
// needs lies beside the executable (or, installed, in its data folder and the user's
// configuration folder).
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "app/Artwork.h"
#include "app/CMainFrame.h"
#include "app/CVanticApp.h"
#include "app/FormFactories.h"
#include "app/QtLanguage.h"

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());

    CVanticApp app;
    app.Start(CVanticApp::DirectoriesOfExecutable());
    InstallQtTranslations(qtApp, app.Context().language,
                          QtCatalogueFolders(QString::fromStdString(app.Context().DataDirectory().string())));

    CMainFrame frame(app);
    InstallFormFactories(frame);

    frame.ShowFitted(QGuiApplication::primaryScreen()->availableGeometry());
    return QApplication::exec();
}
