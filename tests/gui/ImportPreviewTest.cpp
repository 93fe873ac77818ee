// File › Import of another program's file: the preview lists every row, the user ticks rows,
// and the import is one step of the edit history.

#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

QString Cell(const QTableView& table, int row, int column)
{
    return table.model()->index(row, column).data().toString();
}

bool Ticked(const QTableView& table, int row)
{
    return table.model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

// Space on a row toggles its tick, as a user does.
void Toggle(QTableView& table, int row)
{
    table.setCurrentIndex(table.model()->index(row, 0));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&table, &press);
}

}  // namespace

TEST(ImportPreview, EveryRowShownTheUserChoosesAndTheImportIsOneStep)
{
    ProgramDir dir(1);
    dir.UseRealDefault();
    Session s(dir.path);
    // 13 rows: row 3 is AM; the default codeplug has room for 10 more analog channels.
    std::string text = "Location,Name,Frequency,Mode\n";
    for (int n = 1; n <= 13; ++n)
        text += std::to_string(n) + ",Ch" + std::to_string(n) + ",44" + std::to_string(n % 10) + ".5," +
                (n == 3 ? "AM" : "NFM") + "\n";
    testfiles::WriteText(dir.path / "list.csv", text);

    ExchangeKind kind = ExchangeKind::ChirpCsv;
    QStringList opened;  // the windows after the choice of kind; only the first preview is used
    s.frame->SetDialogRunner([&](QDialog& dialog) {
        if (auto* choose = qobject_cast<CDialog_Exchange*>(&dialog)) {
            choose->KindButton(kind)->setChecked(true);
            choose->accept();
            return;
        }
        opened << dialog.metaObject()->className();
        auto* preview = qobject_cast<CDialog_ImportPreview*>(&dialog);
        if (opened.size() > 1 || preview == nullptr)
            return dialog.reject();
        preview->show();
        QTableView& table = *preview->Table();
        ASSERT_EQ(table.model()->rowCount(), 13);
        EXPECT_EQ((QStringList{Cell(table, 0, 2), Cell(table, 0, 4), Cell(table, 2, 4), Cell(table, 11, 4)}),
                  (QStringList{"Ch1", "stored as Analog channel 7", "mode AM: the radio stores FM and NFM channels only", ""}));
        EXPECT_EQ((std::vector{Ticked(table, 2), Ticked(table, 10), Ticked(table, 11)}), (std::vector{false, true, false}));
        EXPECT_EQ(preview->Summary()->text(), "10 of 13 rows will be imported.");

        // Row 1 out, rows 12 and 13 in: 13 no longer fits.
        Toggle(table, 0);
        Toggle(table, 11);
        Toggle(table, 12);
        EXPECT_FALSE(table.model()->setData(table.model()->index(2, 0), Qt::Checked, Qt::CheckStateRole));
        EXPECT_FALSE(Ticked(table, 0) || Ticked(table, 2));
        EXPECT_EQ((QStringList{Cell(table, 1, 4), Cell(table, 11, 4), Cell(table, 12, 4)}),
                  (QStringList{"stored as Analog channel 7", "stored as Analog channel 16",
                               "over capacity: the radio holds 16 analog channels"}));
        preview->ModeButton(ImportMode::Replace)->setChecked(true);
        EXPECT_EQ((QStringList{preview->Summary()->text(), Cell(table, 12, 4)}),
                  (QStringList{"11 of 13 rows will be imported.", "stored as Analog channel 11"}));
        preview->ModeButton(ImportMode::Append)->setChecked(true);
        preview->ImportButton()->click();
        EXPECT_EQ(std::tuple(preview->result(), preview->Result().Stored()), std::tuple(int(QDialog::Accepted), 10u));
    });
    const auto before = CodeplugToBytes(s.app.Context().codeplug);
    s.prompts->openAnswers.push_back({QString::fromStdString((dir.path / "list.csv").string())});
    ASSERT_TRUE(s.frame->Documents().OnFileImport());
    Codeplug& c = s.app.Context().codeplug;
    const auto seventh = c.AnalogChannelTable.record(6);  // "Ch2": the first ticked row
    EXPECT_EQ((std::vector<int>{c.AnalogChannelCount[0], seventh[2], seventh[4], seventh[6]}), (std::vector<int>{16, 'C', 'h', '2'}));
    EXPECT_TRUE(s.frame->Documents().IsModified());
    ASSERT_EQ(s.frame->Documents().History().UndoSteps(), 1u);
    EXPECT_EQ(s.frame->Documents().History().UndoName()->verb, EditKey::Import);

    // Cancel in the preview changes nothing; a file the reader refuses never opens it.
    kind = ExchangeKind::QdmrYaml;
    const auto after = CodeplugToBytes(c);
    testfiles::WriteText(dir.path / "site.yaml", "channels:\n  - fm: {id: a, rxFrequency: 446.1}\n");
    testfiles::WriteText(dir.path / "list.yaml", "- a\n");
    s.prompts->openAnswers.push_back({QString::fromStdString((dir.path / "site.yaml").string())});
    EXPECT_FALSE(s.frame->Documents().OnFileImport());
    s.prompts->openAnswers.push_back({QString::fromStdString((dir.path / "list.yaml").string())});
    EXPECT_FALSE(s.frame->Documents().OnFileImport());
    EXPECT_EQ(opened, (QStringList{"CDialog_ImportPreview", "CDialog_ImportPreview", "CDialog_ImportProblems"}));
    EXPECT_EQ(CodeplugToBytes(c), after);
    EXPECT_NE(after, before);
}
