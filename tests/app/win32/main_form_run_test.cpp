#include "main_form_run_fixture.h"

#include "app/status_texts.h"
#include "platform/widgets/win32/control_impl.h"
#include "platform/win32/wide_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

namespace {

// E3 80 B1 is a kanji and a half-width katakana in code page 932, and the UTF-8 of another
// character as well: the status line shows such a page's name as the list does, since all the
// window shows is in the code page.
TEST_F(MainFormRunTest, APageNameThatReadsAsUtf8TooIsShownAsTheListShowsIt) {
    TMainForm* form = Prepare({"\xE3\x80\xB1.html"});
    const std::string page = Path("site/\xE3\x80\xB1.html");
    Strings shown;
    TPaintLog log(*form->LStatus);
    log.OnPaint = [&] { shown.push_back(ShownText(*form->LStatus)); };
    Click(*form->BExecLint);
    const std::string processing = "(0/1) " + Narrow(CP_UTF8, AnsiText(page)) + " 処理中";
    EXPECT_NE(std::find(shown.begin(), shown.end(), processing), shown.end())
        << "the status line never showed " << processing
        << "; its last text: " << (shown.empty() ? "" : shown.back());
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(page));
}

// What the display shows, which is more than what the window has painted: Wine copies a
// window's picture to the display only when the window's thread waits for messages, and a
// checker is waited for otherwise. The checker looks at the display itself while it runs.
TEST_F(MainFormRunTest, EachPagesStatusIsOnTheDisplayWhileItsCheckerRuns) {
    const std::string screens = Path("screens");
    const Strings pages{"a.html", "b.html"};
    TMainForm* form = Prepare(pages, "out.txt", "screen \"" + screens + "\"");
    Click(*form->BExecLint);
    const std::string shown = ReadAll(screens);
    POINT origin{0, 0};
    ClientToScreen(WindowOf(*form->LStatus), &origin);
    std::size_t at = 0;
    for (int i = 0; i < 2; ++i) {
        std::int32_t size[2] = {};
        ASSERT_GE(shown.size(), at + sizeof size) << "no picture of the display for page " << i;
        std::memcpy(size, shown.data() + at, sizeof size);
        at += sizeof size;
        TImage display;
        display.Width = size[0];
        display.Height = size[1];
        display.Pixels.resize(static_cast<std::size_t>(size[0]) * size[1]);
        ASSERT_GE(shown.size(), at + display.Pixels.size() * 4);
        std::memcpy(display.Pixels.data(), shown.data() + at, display.Pixels.size() * 4);
        at += display.Pixels.size() * 4;
        for (std::uint32_t& pixel : display.Pixels) {
            pixel &= 0xFFFFFF;
        }
        form->LStatus->SetText(StatusProcessing(i, 2, Path("site/" + pages[i])));
        const TImage status = Grab(*form->LStatus);
        EXPECT_EQ(
            display.Part({origin.x, origin.y, origin.x + status.Width, origin.y + status.Height}),
            status)
            << "the display's status line while the checker of " << pages[i] << " ran";
    }
}

// A message that another thread or program sends while a checker runs (a log-off's question, a
// second start's request) is answered at once, not once the checker has ended.
TEST_F(MainFormRunTest, AMessageSentWhileACheckerRunsIsAnsweredAtOnce) {
    const std::string go = Path("go"), out = Path("out.txt");
    TMainForm* form = Prepare({"a.html"}, "out.txt", "wait-for \"" + go + "\"");
    bool answeredWhileRunning = false;
    std::thread asking;
    std::function<void()> whileTheCheckerRuns = [&] {
        if (form->BExecLint->Enabled()) {
            RunSoon(whileTheCheckerRuns);
            return;
        }
        asking = std::thread([&, window = WindowOf(*form)] {
            DWORD_PTR allowed = 0;
            answeredWhileRunning = SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0,
                                                       SMTO_NORMAL, 60000, &allowed) != 0 &&
                                   ReadAll(out).empty();
            std::ofstream(go) << "go";
        });
    };
    RunSoon(whileTheCheckerRuns);
    Click(*form->BExecLint);
    asking.join();
    EXPECT_TRUE(answeredWhileRunning);
}

} // namespace
