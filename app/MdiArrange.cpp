#include "app/MdiArrange.h"

#include <algorithm>

std::vector<QPoint> ArrangeIconPositions(const QSize& area, const std::vector<QSize>& icons)
{
    std::vector<QPoint> positions;
    positions.reserve(icons.size());
    int x = 0;
    int rowBottom = area.height();
    int rowHeight = 0;
    for (const QSize& icon : icons) {
        if (x > 0 && x + icon.width() > area.width()) {
            rowBottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, icon.height());
        positions.emplace_back(x, std::max(0, rowBottom - icon.height()));
        x += icon.width();
    }
    return positions;
}
