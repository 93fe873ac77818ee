#include "forms/channels/ChannelGrids.h"

#include <QHeaderView>

#include "ui/CMSFlexGrid.h"

namespace {

QString Fixed(MemberText text, UiLanguage language)
{
    return QString::fromStdString(FixedMemberText(text, language));
}

}  // namespace

void SetUpChannelGrid(CMSFlexGrid& grid, int dataRows, MemberText numberHeader, UiLanguage language)
{
    grid.SetCols(5);
    grid.SetFixedCols(1);
    grid.SetRows(dataRows + 1);
    grid.horizontalHeader()->setStretchLastSection(true);
    const MemberText headers[] = {numberHeader, MemberText::ColumnKind, MemberText::ColumnChannel,
                                  MemberText::ColumnRx, MemberText::ColumnTx};
    const int twips[] = {600, 1250, 950, 1550, 1550};
    for (int c = 0; c < 5; ++c) {
        grid.SetTextMatrix(0, c, Fixed(headers[c], language));
        grid.SetColWidthTwips(c, twips[c]);
        grid.SetColAlignment(c, Qt::AlignCenter);
    }
}

void FillChannelGrid(CMSFlexGrid& grid, const Codeplug& codeplug, const MemberList& channels, UiLanguage language)
{
    const int selected = grid.Row();
    grid.ClearCells();
    for (int row = 1; row < grid.Rows(); ++row)
        grid.SetTextMatrix(row, 0, QString::asprintf("%02d", row));
    const int rows = std::min<int>(static_cast<int>(channels.size()), grid.Rows() - 1);
    for (int i = 0; i < rows; ++i) {
        const auto described = DescribeChannel(codeplug, channels[static_cast<std::size_t>(i)]);
        if (!described)
            continue;
        const int row = i + 1;
        grid.SetTextMatrix(row, 1, Fixed(described->digital ? MemberText::DigitalChannel : MemberText::AnalogChannel,
                                         language));
        grid.SetTextMatrix(row, 2, QString::fromStdString(described->channel));
        grid.SetTextMatrix(row, 3, QString::fromStdString(described->rxFrequency));
        grid.SetTextMatrix(row, 4, QString::fromStdString(described->txFrequency));
    }
    if (selected >= 1)
        grid.SetRow(selected);
}

int SelectedEntry(const CMSFlexGrid& grid) { return grid.Row() - 1; }
