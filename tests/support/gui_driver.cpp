#include "support/gui_driver.h"

#include "platform/widgets/application.h"

#include <algorithm>

namespace {

std::unique_ptr<TApplication>& TheApplication() {
    static std::unique_ptr<TApplication> application;
    return application;
}

// The application goes at the end of the tests, before the toolkit's own state does.
class TApplicationEnvironment : public testing::Environment {
    void TearDown() override { TheApplication().reset(); }
};
const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

} // namespace

TApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "allcheck";
    static char* argv[] = {name, nullptr};
    if (!TheApplication()) {
        TheApplication() = std::make_unique<TApplication>(argc, argv);
    }
    return *TheApplication();
}

void TGuiTest::TearDown() {
    TestApplication().DestroyForms();
}

TImage TImage::Part(const TRect& rect) const {
    TImage part;
    const int left = std::clamp(rect.Left, 0, Width), right = std::clamp(rect.Right, left, Width);
    const int top = std::clamp(rect.Top, 0, Height), bottom = std::clamp(rect.Bottom, top, Height);
    part.Width = right - left;
    part.Height = bottom - top;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            part.Pixels.push_back(At(x, y));
        }
    }
    return part;
}

TRect TImage::Bounds(std::uint32_t background) const {
    TRect bounds{Width, Height, 0, 0};
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (At(x, y) != background) {
                bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y),
                          std::max(bounds.Right, x + 1), std::max(bounds.Bottom, y + 1)};
            }
        }
    }
    return bounds.Right > bounds.Left ? bounds : TRect{};
}
