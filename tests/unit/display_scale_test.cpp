// Sharp at every display scale and on the monitor the user works on: the
// scaling arithmetic, pictures for a scale, the layout at another DPI, and the
// monitor the bar comes up on.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "core/numbers.h"
#include "core/scale.h"
#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "platform/images.h"
#include "ui/embedded_assets.h"
#include "ui/images.h"
#include "formats/png.h"
#include "ui/scaled_pictures.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;
using platform::Rect;

TEST(Scale, LengthsAtADpiAreRoundedHalfUp)
{
    EXPECT_EQ(scaled(530, 96), 530);
    EXPECT_EQ(scaled(530, 120), 663);
    EXPECT_EQ(scaled(40, 120), 50);
    EXPECT_EQ(scaled(530, 144), 795);
    EXPECT_EQ(scaled(40, 144), 60);
    EXPECT_EQ(scaled(530, 192), 1060);
    EXPECT_EQ(scaled(22, 120), 28) << "27.5 rounds up";
    EXPECT_EQ(scaled(-10, 120), -13) << "and away from zero below it";
}

std::span<const std::uint8_t> embedded(int image)
{
    for (std::size_t i = 0; i < kEmbeddedImageCount; ++i)
        if (kEmbeddedImages[i].image == image)
            return {kEmbeddedImages[i].data, kEmbeddedImages[i].size};
    return {};
}

TEST(ScaledPictures, GradientsKeepTheirEndsAtEveryHeight)
{
    const auto background = decodePng(embedded(103));
    ASSERT_TRUE(background);
    EXPECT_EQ(gradientAt(*background, 390, 40), *background) << "rebuilt at 100 % it is the drawing itself";
    for (const int height : {50, 60, 80, 7}) {
        const RgbPixels g = gradientAt(*background, 10, height);
        ASSERT_EQ(g.rgb.size(), 10u * height * 3);
        EXPECT_TRUE(std::equal(g.rgb.begin(), g.rgb.begin() + 3, background->rgb.begin())) << height;
        EXPECT_TRUE(std::equal(g.rgb.end() - 3, g.rgb.end(), background->rgb.end() - 3)) << height;
        for (int y = 1; y < height; ++y)  // the green channel only falls
            EXPECT_LE(g.rgb[static_cast<std::size_t>(y) * 30 + 1], g.rgb[static_cast<std::size_t>(y - 1) * 30 + 1]);
    }
}

TEST(ScaledPictures, ShrinkingAveragesAreaAndAlpha)
{
    // Opaque red and transparent (its colour must not bleed in) side by side.
    const RgbaPixels two{2, 1, {255, 0, 0, 255, 0, 0, 255, 0}};
    EXPECT_EQ(shrink(two, 1, 1), (RgbaPixels{1, 1, {255, 0, 0, 128}}));
    const RgbaPixels flat{3, 3, std::vector<std::uint8_t>(36, 200)};
    EXPECT_EQ(shrink(flat, 2, 2), (RgbaPixels{2, 2, std::vector<std::uint8_t>(16, 200)}));
}

TEST(ScaledPictures, IconsComeDrawnForTheScaleOrShrunkFromTheNextLarger)
{
    fake::reset();
    const struct {
        int dpi;
        int size;
    } cases[] = {{96, 22}, {144, 33}, {192, 44}, {120, 28}, {168, 39}, {240, 44}};
    for (const auto& c : cases) {
        ASSERT_TRUE(loadImage(3, embedded(3), c.dpi)) << c.dpi;
        EXPECT_EQ(platform::imageWidth(3), c.size) << c.dpi;
        EXPECT_EQ(platform::imageHeight(3), c.size) << c.dpi;
    }
    ASSERT_TRUE(loadImage(103, embedded(103), 144));
    EXPECT_EQ(platform::imageWidth(103), 585);
    EXPECT_EQ(platform::imageHeight(103), 60);
}

class DisplayScaleTest : public testing::ProgramFixture {
protected:
    Rect rectOf(int control) { return fake::control(control)->rect; }
};

TEST_F(DisplayScaleTest, TheBarIsLaidOutForItsDpiAndAgainWhenItChanges)
{
    fake::setScreenDpi(144);
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(fake::window(kMainWindow)->outer.width, 795 + 6) << "client 795 in the fake's frame";
    EXPECT_EQ(fake::window(kMainWindow)->outer.height, 60 + 25);
    EXPECT_EQ(rectOf(kSearchField), (Rect{255, 15, 300, 30}));
    EXPECT_EQ(fake::fontDpi(kSearchFieldFont), 144);
    EXPECT_EQ(platform::imageWidth(kFirstIcon), 33);

    // Moved to a monitor at 120 DPI.
    fake::setWindowDpi(kMainWindow, 120);
    dispatchEvent(program(), {EventKind::DpiChanged, kMainWindow, EventSubtype::None});
    EXPECT_EQ(fake::window(kMainWindow)->outer.width, 663 + 6);
    EXPECT_EQ(fake::window(kMainWindow)->outer.height, 50 + 25);
    EXPECT_EQ(rectOf(kSiteLabel), (Rect{13, 13, 188, 25}));
    EXPECT_EQ(rectOf(kSearchField), (Rect{213, 13, 250, 25}));
    EXPECT_EQ(rectOf(kQuitButton).x, 625);
    EXPECT_EQ(fake::fontDpi(kSearchFieldFont), 120);
    EXPECT_EQ(platform::imageWidth(kFirstIcon), 28);
    EXPECT_EQ(platform::imageHeight(backgroundOf(203)), 50) << "the shown design's pictures, made anew";
    EXPECT_EQ(platform::imageWidth(203), 250);
    EXPECT_EQ(fake::brushImage(fake::windowBackground(kMainWindow)), 103) << "the design's brush from the new picture";

    // The picker opens under the label at the scaled offset and size.
    dispatchEvent(program(), {EventKind::Control, kSiteLabel, EventSubtype::LeftClick});
    const Rect label = platform::controlScreenRect(kSiteLabel);
    EXPECT_EQ(fake::window(kPickerWindow)->outer, (Rect{label.x, label.y + 25, 188, 250}));
}

TEST_F(DisplayScaleTest, TheBarComesUpOnTheMonitorOfTheMouse)
{
    // A monitor left of the primary one (negative coordinates) and one right of it.
    fake::setMonitors({{0, 0, 1280, 760}, {-1024, 0, 1024, 728}, {1280, 100, 1024, 768}});
    ASSERT_TRUE(startUp(program()));
    const Rect start = fake::window(kMainWindow)->outer;

    fake::setCursorPosition({300, 300});
    bringUpMainWindow();
    EXPECT_EQ(fake::window(kMainWindow)->outer, start) << "on the bar's monitor it stays where it is";

    fake::setCursorPosition({1500, 300});
    bringUpMainWindow();
    const Rect right = fake::window(kMainWindow)->outer;
    EXPECT_EQ(right.x, 1280 + (1024 - right.width) / 2);
    EXPECT_EQ(right.y, 100 + (768 - right.height) / 2);

    fake::setCursorPosition({-500, 10});
    bringUpMainWindow();
    const Rect left = fake::window(kMainWindow)->outer;
    EXPECT_EQ(left.x, -1024 + (1024 - left.width) / 2);
    EXPECT_EQ(left.y, (728 - left.height) / 2);

    // The user moves it on that monitor; it stays there the next time.
    platform::moveWindow(kMainWindow, {-900, 50, left.width, left.height});
    bringUpMainWindow();
    EXPECT_EQ(fake::window(kMainWindow)->outer.x, -900);
}

}  // namespace
}  // namespace tellurix
