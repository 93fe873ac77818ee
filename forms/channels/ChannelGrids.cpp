#include "forms/channels/ChannelGrids.h"

#include <QHeaderView>

#include "ui/CMSFlexGrid.h"

namespace {

QString Fixed(MemberText text, UiLanguage language)
{
    return QString::fromStdString(FixedMemberText(text, language));
}

}  // namespace

void ShapeMemberGrid(CMSFlexGrid& grid, int dataRows, const std::array<int, 5>& twips)
{
    grid.SetCols(5);
    grid.SetFixedCols(1);
    grid.SetRows(dataRows + 1);
    grid.horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < 5; ++c) {
        grid.SetColWidthTwips(c, twips[static_cast<std::size_t>(c)]);
        grid.SetColAlignment(c, Qt::AlignCenter);
    }
}

void FillMemberGrid(CMSFlexGrid& grid, std::size_t entries,
                    const std::function<std::optional<MemberRowTexts>(std::size_t)>& textsOf)
{
    const int selected = grid.Row();
    grid.ClearCells();
    for (int row = 1; row < grid.Rows(); ++row)
        grid.SetTextMatrix(row, 0, QString::asprintf("%02d", row));
    const int rows = std::min<int>(static_cast<int>(entries), grid.Rows() - 1);
    for (int i = 0; i < rows; ++i) {
        const auto texts = textsOf(static_cast<std::size_t>(i));
        if (!texts)
            continue;
        for (int c = 0; c < 4; ++c)
            grid.SetTextMatrix(i + 1, c + 1, (*texts)[static_cast<std::size_t>(c)]);
    }
    if (selected >= 1)
        grid.SetRow(selected);
}

void SetUpChannelGrid(CMSFlexGrid& grid, int dataRows, MemberText numberHeader, UiLanguage language)
{
    ShapeMemberGrid(grid, dataRows, {600, 1250, 950, 1550, 1550});
    const MemberText headers[] = {numberHeader, MemberText::ColumnKind, MemberText::ColumnChannel,
                                  MemberText::ColumnRx, MemberText::ColumnTx};
    for (int c = 0; c < 5; ++c)
        grid.SetTextMatrix(0, c, Fixed(headers[c], language));
}

void FillChannelGrid(CMSFlexGrid& grid, const Codeplug& codeplug, const MemberList& channels, UiLanguage language)
{
    FillMemberGrid(grid, channels.size(), [&](std::size_t i) -> std::optional<MemberRowTexts> {
        const auto described = DescribeChannel(codeplug, channels[i]);
        if (!described)
            return std::nullopt;
        return MemberRowTexts{
            Fixed(described->digital ? MemberText::DigitalChannel : MemberText::AnalogChannel, language),
            QString::fromStdString(described->channel), QString::fromStdString(described->rxFrequency),
            QString::fromStdString(described->txFrequency)};
    });
}

int SelectedEntry(const CMSFlexGrid& grid) { return grid.Row() - 1; }
