// The timing program behind bench/checklist.sh: fills a shown check list as the program does
// after a scan (100,000 paths appended between BeginUpdate and EndUpdate, then every item set
// Checked with SetItemChecked) and paints one screen of it.
//
//   checklist_bench [RUNS]    prints the medians of RUNS runs (default 5)
//
// Baselines measured in the same run: appending the same paths to a std::vector<std::string>
// (time and heap bytes), and painting one screen of a list of 100 items.
#include "checklist/checklst.h"
#include "platform/widgets/qt/control_impl.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QTest>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ItemCount = 100'000;
constexpr int SmallCount = 100;
constexpr int Paints = 300;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double HeapBytes() {
    return static_cast<double>(mallinfo2().uordblks);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Paths shaped like a scan's: a site folder, a few subfolders, a page name.
std::vector<std::string> MakePaths(int count) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        paths.push_back("/home/user/sites/site" + std::to_string(i % 7) + "/section" +
                        std::to_string(i % 97) + "/topic" + std::to_string(i % 13) + "/page" +
                        std::to_string(i) + ".html");
    }
    return paths;
}

// A check list as the main window shows it.
struct TShownList {
    TCheckListBox List{nullptr};

    TShownList() {
        List.SetBounds(0, 0, 592, 198);
        QtWidget(List)->show();
        if (!QTest::qWaitForWindowExposed(QtWidget(List))) {
            std::fprintf(stderr, "the list was never shown\n");
            std::exit(1);
        }
    }
    QWidget* Viewport() const {
        return static_cast<QAbstractScrollArea*>(QtWidget(List))->viewport();
    }
};

void Fill(TCheckListBox& list, const std::vector<std::string>& paths) {
    list.Items().BeginUpdate();
    for (const std::string& path : paths) {
        list.Items().Add(path);
    }
    list.Items().EndUpdate();
}

// Seconds per repaint of the whole visible client area.
double PaintSeconds(TShownList& shown) {
    QApplication::processEvents();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < Paints; ++i) {
        shown.Viewport()->repaint();
    }
    return Since(start) / Paints;
}

struct TRun {
    double BaselineFill = 0, BaselineBytes = 0;
    double Fill = 0, FillBytes = 0;
    double Check = 0, CheckBytes = 0;
    double SmallPaint = 0, LargePaint = 0;
};

TRun Measure(const std::vector<std::string>& paths) {
    TRun run;
    {
        const double before = HeapBytes();
        const Clock::time_point start = Clock::now();
        std::vector<std::string> plain;
        for (const std::string& path : paths) {
            plain.push_back(path);
        }
        run.BaselineFill = Since(start);
        run.BaselineBytes = HeapBytes() - before;
    }
    {
        TShownList small;
        Fill(small.List, std::vector<std::string>(paths.begin(), paths.begin() + SmallCount));
        for (int i = 0; i < SmallCount; ++i) {
            small.List.SetItemChecked(i, true);
        }
        run.SmallPaint = PaintSeconds(small);
    }
    TShownList large;
    QApplication::processEvents();
    const double before = HeapBytes();
    Clock::time_point start = Clock::now();
    Fill(large.List, paths);
    run.Fill = Since(start);
    run.FillBytes = HeapBytes() - before;

    start = Clock::now();
    for (int i = 0; i < ItemCount; ++i) {
        large.List.SetItemChecked(i, true);
    }
    run.Check = Since(start);
    run.CheckBytes = HeapBytes() - before - run.FillBytes;

    large.List.SetItemIndex(ItemCount / 2); // scrolled into the middle
    run.LargePaint = PaintSeconds(large);
    for (int i = 0; i < ItemCount; ++i) {
        if (!large.List.ItemChecked(i)) {
            std::fprintf(stderr, "item %d is not checked\n", i);
            std::exit(1);
        }
    }
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ProbeCheckBoxSize();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::vector<std::string> paths = MakePaths(ItemCount);

    std::vector<TRun> measured;
    for (int i = 0; i < runs; ++i) {
        measured.push_back(Measure(paths));
    }
    auto median = [&](double TRun::*field) {
        std::vector<double> values;
        for (const TRun& run : measured) {
            values.push_back(run.*field);
        }
        return Median(values);
    };
    const double baselineFill = median(&TRun::BaselineFill);
    const double baselineBytes = median(&TRun::BaselineBytes) / ItemCount;
    const double fill = median(&TRun::Fill);
    const double check = median(&TRun::Check);
    const double fillBytes = median(&TRun::FillBytes) / ItemCount;
    const double checkBytes = median(&TRun::CheckBytes) / ItemCount;
    const double smallPaint = median(&TRun::SmallPaint);
    const double largePaint = median(&TRun::LargePaint);

    std::printf("medians of %d runs, %d items, check box %dx%d, list 592x198\n", runs, ItemCount,
                CheckBoxWidth(), CheckBoxHeight());
    std::printf("  baseline: paths into a std::vector  %8.2f ms  %6.1f bytes/item\n",
                baselineFill * 1e3, baselineBytes);
    std::printf("  Items().Add in BeginUpdate/EndUpdate %8.2f ms  %6.1f bytes/item  (x%.2f time, "
                "x%.2f memory of baseline)\n",
                fill * 1e3, fillBytes, fill / baselineFill, fillBytes / baselineBytes);
    std::printf("  SetItemChecked(i, true) on all       %8.2f ms  %6.1f bytes/item  (x%.2f the "
                "baseline time)\n",
                check * 1e3, checkBytes, check / baselineFill);
    std::printf("  total                                %8.2f ms  %6.1f bytes/item\n",
                (fill + check) * 1e3, fillBytes + checkBytes);
    std::printf("  one screen painted: %d items %.3f ms, %d items %.3f ms, ratio %.2f\n",
                SmallCount, smallPaint * 1e3, ItemCount, largePaint * 1e3, largePaint / smallPaint);
    return 0;
}
