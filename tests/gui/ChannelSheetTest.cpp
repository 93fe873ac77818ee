// The channel sheet as PDF from zr740 export --format pdf, read back with pdftotext
// (poppler-utils): pages as the content needs, every name on them, page numbers, continued
// tables, nothing outside the paper.

#include "forms/channels/ChannelRules.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "tests/gui/TestSupport.h"

using namespace testsupport;

namespace {

std::string Shell(const std::string& command) { return testfiles::Shell(command).out; }

std::string PdfText(const fs::path& pdf, const std::string& options = "-layout")
{
    return Shell("pdftotext " + options + " '" + pdf.string() + "' - 2>/dev/null");
}

// The default codeplug with `channels` channels of each kind named "DIG-nn" / "ANA-nn", and up to
// `contacts` contacts and `groups` receive group lists.
std::unique_ptr<Codeplug> Filled(std::size_t channels, std::size_t contacts, std::size_t groups)
{
    auto c = testfiles::DefaultCodeplug();
    for (ChannelKind kind : {ChannelKind::Digital, ChannelKind::Analog}) {
        while (ChannelCount(*c, kind) < channels)
            AddChannel(*c, kind);
        while (ChannelCount(*c, kind) > channels)
            DeleteChannel(*c, kind, ChannelCount(*c, kind) - 1);
        for (std::size_t i = 0; i < channels; ++i) {
            auto r = ChannelRecord(*c, kind, i);
            const std::string name = (kind == ChannelKind::Digital ? "DIG-" : "ANA-") + QString::asprintf("%02zu", i + 1).toStdString();
            r[1] = EncodeAlias(name, r.subspan(2, 36));
        }
    }
    for (std::size_t n = contacts::Count(*c); n < contacts; ++n)
        contacts::Add(*c, "Talkgroup " + std::to_string(n + 1));
    while (rxgroups::Count(*c) < groups && rxgroups::NewList(*c)) {
    }
    return c;
}

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

}  // namespace

// zr740 export FILE --format pdf -o SHEET.pdf writes the sheet without a display, safely, in the
// language asked for. The sheet takes the pages its content needs (a longer codeplug or shorter
// paper, more pages), every page says "Page k of N", every channel is on it, a table running
// onto another page repeats its title as continued, and every word lies on the paper inside the
// margins. Options it does not take write nothing.
TEST(ChannelSheet, CommandLineWritesTheSheetOnThePagesItsContentNeeds)
{
    if (Shell("command -v pdftotext").empty() || !fs::exists(fs::path(ZR740_PROGRAM_DIR) / "zr740"))
        GTEST_SKIP() << "pdftotext or zr740 missing";
    testfiles::TempDir dir;
    const fs::path codeplug = dir.path / "radio.VNTX", sheet = dir.path / "sheet.pdf";
    // No display and no platform chosen: the tool picks the offscreen one itself.
    const std::string zr740 =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" ZR740_PROGRAM_DIR "/zr740' export '" + codeplug.string() + "' ";
    const std::string pdfTo = "--format pdf -o '" + sheet.string() + "' ";
    const struct {
        std::size_t channels, contacts, groups;
        std::string options;
        const char* size;  // as pdfinfo names it; null: no sheet written
        int minPages, maxPages;
        std::vector<std::string> shown;
        const char* absent;
    } rows[] = {
        {1, 0, 1, pdfTo + "--lang en", "A4", 1, 1, {"Digital channels"}, "数字信道"},
        {16, 6, 2, pdfTo + "--lang en --page a4", "A4", 2, 3, {}, "数字信道"},
        {16, 64, 32, pdfTo + "--lang en", "A4", 4, 8, {}, "数字信道"},
        {16, 64, 32, pdfTo + "--lang en --page letter", "letter", 4, 8, {}, "数字信道"},
        {3, 6, 2, pdfTo + "--lang zh", "A4", 1, 1,
         {"ZR-740 信道表", "模拟信道", "数字信道", "联系", "机型别名", "共 1 "}, "Analog channels"},
        {3, 6, 2, "--format pdf", nullptr, 0, 0, {}, nullptr},  // no file to write
        {3, 6, 2, pdfTo + "--page a3", nullptr, 0, 0, {}, nullptr},
        {3, 6, 2, "--format xml -o '" + sheet.string() + "'", nullptr, 0, 0, {}, nullptr},
    };
    int fullA4 = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.channels << " channels, " << row.options);
        ASSERT_TRUE(SaveCodeplugFile(*Filled(row.channels, row.contacts, row.groups), codeplug).ok());
        fs::remove(sheet);
        const int status = std::system((zr740 + row.options + " >/dev/null 2>&1").c_str());
        EXPECT_EQ(std::tuple(status == 0, fs::exists(sheet)), std::tuple(row.size != nullptr, row.size != nullptr));
        if (row.size == nullptr)
            continue;
        const bool zh = row.options.ends_with("zh");
        const std::string text = PdfText(sheet);
        const int pages = Count(text, "\f");
        EXPECT_TRUE(pages >= row.minPages && pages <= row.maxPages) << pages;
        EXPECT_NE(Shell("pdfinfo '" + sheet.string() + "'").find(std::string("(") + row.size + ")"), std::string::npos);
        for (int page = 1; page <= pages; ++page) {
            const std::string k = std::to_string(page), n = std::to_string(pages);
            EXPECT_EQ(Count(text, zh ? "第 " + k + " " : "Page " + k + " of " + n), 1) << page;
        }
        for (const std::string& part : row.shown)
            EXPECT_NE(text.find(part), std::string::npos) << part;
        EXPECT_EQ(text.find(row.absent), std::string::npos);
        for (std::size_t i = 1; i <= row.channels; ++i)
            for (const char* kind : {"DIG-", "ANA-"}) {
                const std::string name = kind + QString::asprintf("%02zu", i).toStdString();
                // Once in its table, and once in each zone or scan list that holds it.
                EXPECT_GE(Count(text, name + " "), 1) << name;
            }
        EXPECT_EQ(Count(text, "Talkgroup " + std::to_string(row.contacts) + " "), row.contacts > 6 ? 1 : 0);
        EXPECT_EQ(Count(text, zh ? "（续）" : "(continued)") > 0, pages > 1);
        if (row.options.ends_with("letter"))
            EXPECT_GE(pages, fullA4);  // shorter paper, never fewer pages
        else
            fullA4 = pages;

        // Every word on the paper, inside the 15 mm margins (42.5 points) less a little.
        const QRegularExpression page("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"");
        const QRegularExpression word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\"");
        const QString xml = QString::fromStdString(PdfText(sheet, "-bbox"));
        const auto size = page.match(xml);
        ASSERT_TRUE(size.hasMatch());
        const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
        int words = 0;
        for (auto it = word.globalMatch(xml); it.hasNext(); ++words) {
            const auto w = it.next();
            EXPECT_TRUE(w.captured(1).toDouble() >= 40.0 && w.captured(2).toDouble() >= 40.0 &&
                        w.captured(3).toDouble() <= width - 40.0 && w.captured(4).toDouble() <= height - 40.0)
                << w.captured(0).toStdString();
        }
        EXPECT_GT(words, 50);
    }
    // Written through a temporary file renamed over the target: nothing else is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}
