#pragma once
// Where minimised form windows go when the user arranges them: in rows along the bottom edge of
// the client area, left to right, a new row above the last when one is full.
#include <QPoint>
#include <QSize>
#include <vector>

std::vector<QPoint> ArrangeIconPositions(const QSize& area, const std::vector<QSize>& icons);
