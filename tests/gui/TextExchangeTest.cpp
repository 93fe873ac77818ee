// File › Export and File › Import in the main window, and the --trace option of the program.

#include "app/CDialog_ImportProblems.h"
#include "forms/CodeplugJson.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

using testfiles::ReadText;
using testfiles::WriteText;

// A session on the shipped default codeplug whose export/import dialog answers with `kind`
// and records the problems window.
struct ExchangeBench {
    ProgramDir dir{1};
    std::unique_ptr<Session> s;
    ExchangeKind kind = ExchangeKind::WholeJson;
    bool cancel = false;
    QStringList problems;
    QString summary;
    int problemWindows = 0;

    ExchangeBench()
    {
        dir.UseRealDefault();
        s = std::make_unique<Session>(dir.path);
        s->frame->SetDialogRunner([this](QDialog& dialog) {
            if (auto* choose = qobject_cast<CDialog_Exchange*>(&dialog)) {
                choose->KindButton(kind)->setChecked(true);
                cancel ? choose->reject() : choose->accept();
            } else if (auto* refused = qobject_cast<CDialog_ImportProblems*>(&dialog)) {
                ++problemWindows;
                summary = refused->Summary()->text();
                for (int i = 0; i < refused->ProblemList()->count(); ++i)
                    problems << refused->ProblemList()->item(i)->text();
            }
        });
    }
    Codeplug& Image() const { return s->app.Context().codeplug; }
    std::vector<std::uint8_t> Bytes() const { return CodeplugToBytes(Image()); }
    bool Export(ExchangeKind k, const fs::path& to)
    {
        kind = k;
        s->prompts->saveAnswers.push_back(Q(to));
        return s->frame->Documents().OnFileExport();
    }
    bool Import(ExchangeKind k, const fs::path& from)
    {
        kind = k;
        s->prompts->openAnswers.push_back({Q(from)});
        return s->frame->Documents().OnFileImport();
    }
};

}  // namespace

TEST(FileExchange, HandEditedCsvCellReachesItsBytesAndMarksTheCodeplugChanged)
{
    ExchangeBench b;
    const fs::path csv = b.dir.path / "digital.csv";
    ASSERT_TRUE(b.Export(ExchangeKind::DigitalCsv, csv));
    EXPECT_TRUE(b.s->prompts->messages.empty() && b.s->prompts->lastFilters.value(0) == "CSV files (*.csv)");
    std::string text = ReadText(csv);
    ASSERT_EQ(text.substr(0, 7), "\xEF\xBB\xBFNo.,");
    ASSERT_NE(text.find("438.500000"), std::string::npos);
    EXPECT_FALSE(b.s->frame->Documents().IsModified());

    text.replace(text.find("438.500000"), 10, "439.112500");
    WriteText(csv, text);
    b.s->frame->Windows().OpenForm(FormKind::DigitalChannel);
    ASSERT_TRUE(b.Import(ExchangeKind::DigitalCsv, csv));
    // Digital channel 1's receive frequency, at offset 6734 + 54 (438.5 MHz was a0 fa 22 1a).
    const auto bytes = b.Bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 6788, bytes.begin() + 6792),
              (std::vector<std::uint8_t>{0x34, 0x53, 0x2C, 0x1A}));
    EXPECT_EQ(b.s->frame->Windows().FormWindow(FormKind::DigitalChannel), nullptr);
    EXPECT_TRUE(b.s->frame->Documents().IsModified() && b.s->frame->windowTitle().endsWith(" *"));
    EXPECT_TRUE(b.s->frame->statusBar()->currentMessage().contains("Imported"));
}

TEST(FileExchange, RefusedImportsListTheirProblemsAndChangeNothing)
{
    ExchangeBench b;
    const fs::path csv = b.dir.path / "bad.csv";
    WriteText(csv, "No.,Time slot,Receive frequency\n1,Slot 1,438.5x\n2,Slot 2,999\n");
    const auto before = b.Bytes();
    EXPECT_FALSE(b.Import(ExchangeKind::DigitalCsv, csv));
    ASSERT_EQ(std::tuple(b.problemWindows, b.problems.size()), std::tuple(1, 2));
    EXPECT_TRUE(b.problems[0].startsWith("row 2, column 3 (Receive frequency)")) << b.problems[0].toStdString();
    EXPECT_TRUE(b.problems[1].startsWith("row 3, column 3")) << b.problems[1].toStdString();
    EXPECT_TRUE(b.summary.contains("bad.csv"));
    EXPECT_EQ(b.Bytes(), before);
    EXPECT_FALSE(b.s->frame->Documents().IsModified());

    // Where a problem is and why, in the language of the run.
    ProgramDir chinese(0);
    Session zh(chinese.path);
    const TextCatalogue& en = b.s->app.Context().text;
    EXPECT_EQ(ImportProblemText(zh.app.Context().text, {2, 3, "Receive frequency", {}, "expected a whole number"}),
              "第 2 行，第 3 列 (Receive frequency): 应为整数");
    EXPECT_EQ((QStringList{ImportProblemText(en, {4, 0, {}, {}, "why"}), ImportProblemText(en, {0, 0, {}, {}, "why"}),
                           ImportProblemText(en, {0, 0, {}, "/zones/records/1", "why"})}),
              (QStringList{"row 4: why", "why", "/zones/records/1: why"}));

    // Files that are no table at all: one warning each, nothing changed.
    const struct {
        const char* name;
        ExchangeKind kind;
        std::optional<std::string> content;  // none: no such file
        const char* says;
    } cases[] = {
        {"missing", ExchangeKind::ContactsCsv, std::nullopt, "could not be read"},
        {"empty", ExchangeKind::ContactsCsv, "\xEF\xBB\xBF\r\n", "empty"},
        {"binary", ExchangeKind::AnalogCsv, std::string("No.\n\0\x01\x02", 7), "not a text file"},
        {"gbk", ExchangeKind::ContactsCsv, "No.,\xC3\xFB\xB3\xC6\n", "not UTF-8"},
        {"broken json", ExchangeKind::WholeJson, "{\"format\": ", "not a valid JSON file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = b.dir.path / (std::string(c.name) + ".txt");
        if (c.content)
            WriteText(file, *c.content);
        b.s->prompts->messages.clear();
        EXPECT_FALSE(b.Import(c.kind, file));
        ASSERT_EQ(b.s->prompts->messages.size(), 1u);
        const auto& message = b.s->prompts->messages[0];
        EXPECT_TRUE(message.text.contains(c.says) && message.text.contains("Nothing was imported")) << message.text.toStdString();
        EXPECT_EQ(message.icon, QMessageBox::Warning);
        EXPECT_EQ(b.Bytes(), before);
    }
    // A JSON document that parses but describes no codeplug goes to the problems window.
    WriteText(b.dir.path / "other.json", "{\"format\": 1}");
    EXPECT_FALSE(b.Import(ExchangeKind::WholeJson, b.dir.path / "other.json"));
    EXPECT_EQ(b.problemWindows, 2);
    EXPECT_TRUE(b.Bytes() == before && !b.s->frame->Documents().IsModified());
}

TEST(FileExchange, JsonImportWithMoreChannelsRebuildsTheTree)
{
    ExchangeBench b;
    auto bigger = std::make_unique<Codeplug>(b.Image());
    SetCount(bigger->AnalogChannelCount, 9);
    const fs::path json = b.dir.path / "whole.json";
    WriteText(json, ExportJson(*bigger).dump(2));
    const auto analogItems = [&b] { return b.s->frame->Tree()->topLevelItem(0)->child(5)->childCount(); };
    ASSERT_NE(analogItems(), 9);
    ASSERT_TRUE(b.Import(ExchangeKind::WholeJson, json));
    EXPECT_EQ(std::tuple(analogItems(), b.Image().AnalogChannelCount[0] + 0, b.s->frame->Documents().IsModified()),
              std::tuple(9, 9, true));

    // Cancelling the choice asks for no file.
    b.cancel = true;
    EXPECT_FALSE(b.s->frame->Documents().OnFileImport() || b.s->frame->Documents().OnFileExport());
    EXPECT_EQ(b.s->prompts->saveAsked, 0);
}

TEST(FileExchange, AFailedExportWriteIsReportedNeverSuccess)
{
    ExchangeBench b;
    const fs::path paths[] = {b.dir.path, b.dir.path / "no such folder" / "t.csv"};
    for (const fs::path& path : paths) {
        SCOPED_TRACE(path.string());
        b.s->prompts->messages.clear();
        b.s->frame->statusBar()->clearMessage();
        EXPECT_FALSE(b.Export(ExchangeKind::RxGroupsCsv, path));
        ASSERT_EQ(b.s->prompts->messages.size(), 1u);
        EXPECT_EQ(b.s->prompts->messages[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(b.s->prompts->messages[0].text.contains("could not be written") &&
                    b.s->frame->statusBar()->currentMessage().isEmpty());
    }
    EXPECT_TRUE(fs::is_directory(b.dir.path));
}

TEST(TraceOption, CommandLineNamesTheTraceFileAndTheLinkWritesIt)
{
    const struct { QStringList args; std::string trace; QString file; bool error; } cases[] = {
        {{"zr740cps"}, "", "", false},
        {{"zr740cps", "--trace", "/tmp/a b.txt"}, "/tmp/a b.txt", "", false},
        {{"zr740cps", "--trace=t.txt", "radio.VNTX"}, "t.txt", "radio.VNTX", false},
        {{"zr740cps", "--trace"}, "", "", true},
        {{"zr740cps", "a.VNTX", "b.VNTX"}, "", "", true},
        {{"zr740cps", "--frobnicate"}, "", "", true},
    };
    for (const auto& c : cases) {
        const CVanticApp::CommandLine line = CVanticApp::ParseCommandLine(c.args);
        EXPECT_EQ(std::tuple(line.trace, line.file, !line.error.isEmpty(), line.exitNow), std::tuple(c.trace, c.file, c.error, false))
            << c.args.join(' ').toStdString();
    }

    // The file named reaches the port the link opens: a read session against zr740sim is traced.
    const testfiles::TempDir dir;
    session_test::Sim sim({});
    ASSERT_FALSE(sim.device().empty());
    const fs::path trace = dir / "trace.txt";
    {
        CVanticApp app(trace.string());
        app.Link().SetDevice(sim.device());
        ASSERT_TRUE(app.Link().OpenPort());
        EXPECT_EQ(app.Link().OpenReadSession(), 0);
        app.Link().ClosePort();
    }
    const std::string lines = ReadText(trace);
    EXPECT_TRUE(lines.find(" TX ") != std::string::npos && lines.find(" RX ") != std::string::npos) << lines;
}

// The check before a write lists what it found in the run's language; a double-click on a finding
// writes nothing and opens the form of the record it names; Yes goes on with the write.
TEST(CheckBeforeWrite, FindingsInTheRunsLanguageOpenTheirRecord)
{
    const std::pair<std::uint8_t, const char*> cases[] = {  // the language and the first line of the list
        {0, "扫描列表 2：扫描发射模式：2 超出范围 0-1"}, {1, "Scan list 2: Scan transmit mode: 2 is outside 0-1"}};
    for (const auto& [language, finding] : cases) {
        ProgramDir dir(language);
        dir.UseRealDefault();
        FormSession s(dir.path);
        s.app.Context().codeplug.ScanTable.record(1)[90] = 2;  // scan list 2: a transmit mode past its list
        QStringList shown;
        s.frame->SetDialogRunner([&](QDialog& dialog) {
            shown << dialog.metaObject()->className();
            if (auto* check = qobject_cast<CDialog_CheckFindings*>(&dialog)) {
                QListWidget* list = check->FindingList();
                ASSERT_GE(list->count(), 1);
                EXPECT_EQ(list->item(0)->text().toStdString(), finding);
                emit list->itemDoubleClicked(list->item(0));
            }
        });
        s.frame->Transfers().OnWrite();
        EXPECT_EQ(shown, QStringList{"CDialog_CheckFindings"}) << "the write went on";
        ASSERT_NE(s.frame->Windows().Form(FormKind::Scan), nullptr);
        EXPECT_EQ(s.app.Navigation().Index(FormKind::Scan), 1u);

        shown.clear();
        s.frame->SetDialogRunner([&](QDialog& dialog) {
            shown << dialog.metaObject()->className();
            if (qobject_cast<CDialog_CheckFindings*>(&dialog))
                dialog.accept();
        });
        s.frame->Transfers().OnWrite();
        EXPECT_EQ(shown, (QStringList{"CDialog_CheckFindings", "CDialog_RW"}));
    }
}
