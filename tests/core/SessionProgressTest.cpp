// The transfer progress: every exchange with the radio counted against the attempt's plan,
// which comes down as the session learns the radio's lists; done and planned meet at the end.
#include "tests/core/TestFiles.h"

#include "tests/core/SessionBench.h"

using namespace session_test;
namespace st = session::status;

TEST(SessionProgress, PlanMeetsTheExchangesTheRadioSaw)
{
    const struct {
        const char* name;
        bool write;
        std::array<std::uint32_t, 6> counts;  // digital, analog, scans, contacts, groups, messages
        const char* password;                 // the radio's and the one typed; null for none
        int expected;                         // session steps
    } cases[] = {
        {"full read", false, {16, 16, 3, 64, 32, 3}, nullptr, 147},
        {"full read, protected", false, {16, 16, 3, 64, 32, 3}, "4321", 149},
        {"short read", false, {2, 1, 1, 1, 1, 1}, nullptr, 26},
        {"short write", true, {2, 1, 1, 1, 1, 1}, nullptr, 21},
        {"short write, protected", true, {2, 1, 1, 1, 1, 1}, "4321", 23},
        {"write, no messages counted", true, {1, 1, 1, 0, 0, 0}, nullptr, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SessionBench s;
        auto image = FullImage(1);
        SetListCounts(*image, c.counts[0], c.counts[1], c.counts[2], c.counts[3], c.counts[4], c.counts[5]);
        if (c.write)
            *s.image = *image;
        else
            s.radio().LoadCodeplug(*image);
        if (c.password) {
            s.radio().SetProgrammingPassword(c.password);
            s.state.PasswordEntry = session::MakePasswordEntry(c.password);
        }
        s.radio().ClearHistory();
        c.write ? s.Write() : s.Read();
        ASSERT_EQ(s.state.TransferStatus, c.write ? st::WriteDone : st::ReadDone);
        EXPECT_EQ(s.state.RecordsDone, s.state.RecordsTotal);
        if (!c.write) {  // a read step is one request; opening a write takes the radio three
            EXPECT_EQ(s.state.RecordsDone, static_cast<int>(s.radio().EventTexts().size()));
        }
        EXPECT_EQ(s.state.RecordsDone, c.expected);
    }
}
