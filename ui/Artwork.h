#pragma once
// Pictures the program draws itself: the program icon, the client-area tile and the toolbar
// icons that the style does not provide.
#include <QIcon>
#include <QPixmap>

QIcon ProgramIcon();
QPixmap ProgramIconPixmap(int size);  // one size of it (also the desktop menu's icon)
QPixmap ClientBackgroundTile();

enum class ToolIcon { Print, ReadRadio, WriteRadio, Undo, Redo };
QIcon DrawToolIcon(ToolIcon kind);
