// Writes the program icon for the desktop menu: make_program_icon FOLDER
// gives FOLDER/SIZExSIZE/apps/zr740cps.png for each size of the icon theme (run offscreen at build time).
#include <cstdio>

#include <QDir>
#include <QGuiApplication>

#include "ui/Artwork.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_program_icon FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : {32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        if (!folder.mkpath(sub) || !ProgramIconPixmap(size).save(folder.filePath(sub + "/zr740cps.png"))) {
            std::fprintf(stderr, "make_program_icon: cannot write %s\n", qPrintable(folder.filePath(sub)));
            return 1;
        }
    }
    return 0;
}
