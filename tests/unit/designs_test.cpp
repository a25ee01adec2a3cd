// The designs: the brushes of the current design, the colour hook of the site
// label and the search field, and the design window with its five controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../support/program_fixture.h"
#include "core/numbers.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "platform/colour_rules.h"
#include "platform/designs.h"
#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_toolkit.h"
#include "platform/images.h"
#include "ui/designs.h"
#include "ui/images.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::ColourRequest;
using platform::ControlKind;
using platform::Event;
using platform::EventKind;
using platform::EventSubtype;
using platform::kNoBrush;

class DesignsTest : public testing::ProgramFixture {
protected:
    // The start-up steps that concern the designs, in their order.
    void startWithStoredDesign(int stored)
    {
        program().settings.Design = stored;
        ASSERT_TRUE(createMainWindow());
        loadIcons();
        program().settings.Design = prepareDesigns(program().designs, program().settings.Design);
        applyBackground(program().designs, program().settings.Design);
        ASSERT_TRUE(buildMainWindowControls(program().designs));
    }

    int backgroundBrush() { return fake::windowBackground(kMainWindow); }
    int searchFieldBrush()
    {
        const auto answer = fake::colourAnswer(ColourRequest::EditField, kSearchField);
        return answer ? answer->brush : kNoBrush;
    }
    // The images the window's two brushes repeat.
    std::pair<int, int> brushImages()
    {
        return {fake::brushImage(backgroundBrush()), fake::brushImage(searchFieldBrush())};
    }

    void press(int control) { dispatchEvent(program(), {EventKind::Control, control, EventSubtype::LeftClick}); }
    int previewShown() { return fake::control(kDesignPreview)->image; }
    bool enabled(int control) { return fake::control(control)->enabled; }

    bool logged(const std::string& call)
    {
        const auto& log = fake::callLog();
        return std::find(log.begin(), log.end(), call) != log.end();
    }
};

// --- Start-up ---------------------------------------------------------------

TEST_F(DesignsTest, StartUpPaintsTheStoredDesign)
{
    startWithStoredDesign(207);
    EXPECT_EQ(program().settings.Design, 207);
    EXPECT_EQ(brushImages(), std::make_pair(107, 207));
    EXPECT_EQ(fake::liveBrushCount(), 2);
    EXPECT_TRUE(logged("invalidateWindow 0"));
    // Start-up makes only the shown design's pictures; the design window all
    // previews (and no other background); after it, the shown design's again.
    auto designPictures = [] {
        std::vector<int> images;
        for (int image = kFirstBackground; image <= kLastPreview; ++image)
            if (platform::hasImage(image))
                images.push_back(image);
        return images;
    };
    EXPECT_EQ(designPictures(), (std::vector<int>{107, 207}));
    press(kDesignButton);
    std::vector<int> open{107};
    for (int image = kFirstPreview; image <= kLastPreview; ++image)
        open.push_back(image);
    EXPECT_EQ(designPictures(), open);
    for (int step = 0; step < 3; ++step)
        press(kDesignForward);
    press(kDesignActivate);
    EXPECT_EQ(designPictures(), (std::vector<int>{103, 203}));
    EXPECT_EQ(brushImages(), std::make_pair(103, 203));
}

TEST_F(DesignsTest, StoredNumbersThatNameNoDesignBecomeTheDefault)
{
    for (int stored : {0, 3, 103, 199, 214, -203, 2147483647}) {
        SetUp();
        startWithStoredDesign(stored);
        EXPECT_EQ(program().settings.Design, 203) << stored;
        EXPECT_EQ(brushImages(), std::make_pair(103, 203)) << stored;
    }
    for (int stored : {200, 213}) {
        SetUp();
        startWithStoredDesign(stored);
        EXPECT_EQ(program().settings.Design, stored);
        EXPECT_EQ(brushImages(), std::make_pair(stored - 100, stored));
    }
    EXPECT_EQ(designFromStored(212), 212);
    EXPECT_EQ(designFromStored(99), 203);
}

TEST_F(DesignsTest, ColourHookAnswersOnlyTheLabelAndTheSearchField)
{
    startWithStoredDesign(203);
    const auto label = fake::colourAnswer(ColourRequest::StaticText, kSiteLabel);
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->transparentText);
    EXPECT_FALSE(label->textColour) << "the label keeps the default text colour";
    EXPECT_EQ(label->brush, kNoBrush) << "the label paints no background";

    const auto field = fake::colourAnswer(ColourRequest::EditField, kSearchField);
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->transparentText);
    EXPECT_EQ(field->textColour, (platform::Rgb{0, 0, 0}));
    EXPECT_EQ(fake::brushImage(field->brush), 203) << "the field shows the preview strip";

    // The same messages from the other control, and other controls, get the default.
    EXPECT_FALSE(fake::colourAnswer(ColourRequest::EditField, kSiteLabel));
    EXPECT_FALSE(fake::colourAnswer(ColourRequest::StaticText, kSearchField));
    for (int control : {kTopmostOnButton, kDesignButton, kAutostartOnButton, kDesignPreview})
        EXPECT_FALSE(fake::colourAnswer(ColourRequest::StaticText, control)) << control;
}

TEST_F(DesignsTest, ColourRuleLookupMatchesControlAndRequest)
{
    std::map<int, platform::ControlColours> rules;
    rules[1].request = ColourRequest::StaticText;
    rules[2].request = ColourRequest::EditField;
    rules[2].brush = 7;
    EXPECT_EQ(platform::colourRuleFor(rules, ColourRequest::StaticText, 1), &rules[1]);
    EXPECT_EQ(platform::colourRuleFor(rules, ColourRequest::EditField, 2)->brush, 7);
    EXPECT_EQ(platform::colourRuleFor(rules, ColourRequest::EditField, 1), nullptr);
    EXPECT_EQ(platform::colourRuleFor(rules, ColourRequest::StaticText, 2), nullptr);
    EXPECT_EQ(platform::colourRuleFor(rules, ColourRequest::StaticText, 3), nullptr);
}

// --- The design window ------------------------------------------------------

TEST_F(DesignsTest, DesignWindowOpensAtDesignOneCentredOnTheBar)
{
    startWithStoredDesign(208);
    press(kDesignButton);

    const auto* window = fake::window(kDesignWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->kind, platform::WindowKind::ToolDialog);
    EXPECT_EQ(window->title, "Design wechseln");
    EXPECT_TRUE(window->visible);
    const platform::Size outer = platform::outerSize(platform::WindowKind::ToolDialog, {260, 70}, 96);
    const platform::Rect bar = platform::windowRect(kMainWindow);
    EXPECT_EQ(window->outer.width, outer.width);
    EXPECT_EQ(window->outer.height, outer.height);
    EXPECT_EQ(window->outer.x, bar.x + (bar.width - outer.width) / 2);
    EXPECT_EQ(window->outer.y, bar.y + (bar.height - outer.height) / 2);

    struct Expected {
        int control;
        ControlKind kind;
        platform::Rect rect;
        const char* text;
        bool enabled;
    };
    const Expected expected[] = {
        {kDesignBack, ControlKind::PushButton, {10, 10, 20, 20}, "<", false},
        {kDesignForward, ControlKind::PushButton, {230, 10, 20, 20}, ">", true},
        {kDesignPreview, ControlKind::ImageControl, {30, 10, 200, 20}, "", true},
        {kDesignActivate, ControlKind::PushButton, {40, 40, 100, 20}, "Aktivieren", true},
        {kDesignCancel, ControlKind::PushButton, {150, 40, 100, 20}, "Abbrechen", true},
    };
    for (const Expected& e : expected) {
        const auto* control = fake::control(e.control);
        ASSERT_NE(control, nullptr) << e.control;
        EXPECT_EQ(control->window, kDesignWindow) << e.control;
        EXPECT_EQ(control->kind, e.kind) << e.control;
        EXPECT_EQ(control->rect.x, e.rect.x) << e.control;
        EXPECT_EQ(control->rect.y, e.rect.y) << e.control;
        EXPECT_EQ(control->rect.width, e.rect.width) << e.control;
        EXPECT_EQ(control->rect.height, e.rect.height) << e.control;
        EXPECT_EQ(control->text, e.text) << e.control;
        EXPECT_EQ(control->enabled, e.enabled) << e.control;
    }
    EXPECT_EQ(previewShown(), 200);
    EXPECT_FALSE(fake::window(kMainWindow)->enabled) << "the bar takes no input meanwhile";
    // Nothing is applied by opening: the bar keeps its design.
    EXPECT_EQ(brushImages(), std::make_pair(108, 208));
}

TEST_F(DesignsTest, DesignWindowNeverStartsAboveTheScreen)
{
    // On a tiny screen the bar stands at 0, 0 and is lower than the design window.
    fake::setScreenSize({100, 30});
    startWithStoredDesign(203);
    ASSERT_EQ(platform::windowRect(kMainWindow).y, 0);
    press(kDesignButton);
    ASSERT_NE(fake::window(kDesignWindow), nullptr);
    EXPECT_EQ(fake::window(kDesignWindow)->outer.y, 0);
    EXPECT_GT(fake::window(kDesignWindow)->outer.x, 0);
}

TEST_F(DesignsTest, SteppingWalksTheFourteenPreviewsAndGuardsTheEnds)
{
    startWithStoredDesign(203);
    press(kDesignButton);
    for (int design = 201; design <= 213; ++design) {
        press(kDesignForward);
        EXPECT_EQ(previewShown(), design);
        EXPECT_TRUE(enabled(kDesignBack)) << design;
        EXPECT_EQ(enabled(kDesignForward), design != 213) << design;
    }
    // A press that reaches the handler at the end changes nothing.
    stepDesignForward(program().designs);
    EXPECT_EQ(previewShown(), 213);

    press(kDesignBack);
    EXPECT_EQ(previewShown(), 212);
    EXPECT_TRUE(enabled(kDesignForward));
    for (int design = 211; design >= 200; --design) {
        press(kDesignBack);
        EXPECT_EQ(previewShown(), design);
        EXPECT_EQ(enabled(kDesignBack), design != 200) << design;
        EXPECT_TRUE(enabled(kDesignForward)) << design;
    }
    stepDesignBack(program().designs);
    EXPECT_EQ(previewShown(), 200);
    // Stepping never touches the bar or the stored design.
    EXPECT_EQ(program().settings.Design, 203);
    EXPECT_EQ(brushImages(), std::make_pair(103, 203));
}

TEST_F(DesignsTest, ActivatingReplacesBothBrushesAndReleasesTheOldOnes)
{
    startWithStoredDesign(203);
    const int oldBackground = backgroundBrush();
    const int oldField = searchFieldBrush();
    press(kDesignButton);
    for (int i = 0; i < 7; ++i)
        press(kDesignForward);
    fake::clearCallLog();
    press(kDesignActivate);

    EXPECT_EQ(program().settings.Design, 207);
    EXPECT_EQ(brushImages(), std::make_pair(107, 207));
    EXPECT_EQ(fake::brushImage(oldBackground), 0) << "old background brush released";
    EXPECT_EQ(fake::brushImage(oldField), 0) << "old search-field brush released";
    EXPECT_EQ(fake::liveBrushCount(), 2);
    EXPECT_TRUE(logged("invalidateWindow 0")) << "the bar is repainted";
    // The event loop closes the window and gives the bar its input back.
    EXPECT_FALSE(platform::isWindowOpen(kDesignWindow));
    EXPECT_EQ(fake::control(kDesignPreview), nullptr);
    EXPECT_TRUE(fake::window(kMainWindow)->enabled);
    // The label keeps drawing straight onto the new design.
    EXPECT_EQ(fake::colourAnswer(ColourRequest::StaticText, kSiteLabel)->brush, kNoBrush);
}

TEST_F(DesignsTest, ActivatingTheActiveDesignStillMakesNewBrushes)
{
    startWithStoredDesign(200);
    const int oldBackground = backgroundBrush();
    const int oldField = searchFieldBrush();
    press(kDesignButton);
    press(kDesignActivate);
    EXPECT_EQ(program().settings.Design, 200);
    EXPECT_EQ(brushImages(), std::make_pair(100, 200));
    EXPECT_NE(backgroundBrush(), oldBackground);
    EXPECT_NE(searchFieldBrush(), oldField);
    EXPECT_EQ(fake::liveBrushCount(), 2);
}

TEST_F(DesignsTest, CancelKeepsTheDesignThatWasCurrentBefore)
{
    startWithStoredDesign(210);
    const int background = backgroundBrush();
    const int field = searchFieldBrush();
    press(kDesignButton);
    for (int i = 0; i < 4; ++i)
        press(kDesignForward);
    press(kDesignCancel);

    EXPECT_EQ(program().settings.Design, 210) << "what is saved at quit is what the bar shows";
    EXPECT_EQ(backgroundBrush(), background);
    EXPECT_EQ(searchFieldBrush(), field);
    EXPECT_FALSE(platform::isWindowOpen(kDesignWindow));
    EXPECT_TRUE(fake::window(kMainWindow)->enabled);

    // Stepping events after the window is gone do nothing; the next opening starts over.
    stepDesignForward(program().designs);
    EXPECT_EQ(program().settings.Design, 210);
    press(kDesignButton);
    EXPECT_EQ(previewShown(), 200);
    EXPECT_FALSE(enabled(kDesignBack));
}

TEST_F(DesignsTest, ClosingTheDesignWindowIsCancelAndFreesTheBar)
{
    startWithStoredDesign(204);
    const int background = backgroundBrush();
    press(kDesignButton);
    press(kDesignForward);
    ASSERT_FALSE(fake::window(kMainWindow)->enabled);
    dispatchEvent(program(), {EventKind::Close, kDesignWindow, EventSubtype::None});

    EXPECT_FALSE(platform::isWindowOpen(kDesignWindow));
    EXPECT_TRUE(fake::window(kMainWindow)->enabled);
    EXPECT_EQ(program().settings.Design, 204);
    EXPECT_EQ(backgroundBrush(), background);
}

TEST_F(DesignsTest, ReopeningAfterActivationStartsAtDesignOne)
{
    startWithStoredDesign(203);
    press(kDesignButton);
    press(kDesignForward);
    press(kDesignForward);
    press(kDesignActivate);
    ASSERT_EQ(program().settings.Design, 202);
    press(kDesignButton);
    EXPECT_EQ(previewShown(), 200);
    EXPECT_FALSE(enabled(kDesignBack));
    EXPECT_TRUE(enabled(kDesignForward));
    press(kDesignCancel);
    EXPECT_EQ(program().settings.Design, 202);
}

TEST_F(DesignsTest, DesignWindowThatCannotOpenChangesNothing)
{
    startWithStoredDesign(205);
    fake::failWindowCreation(kDesignWindow, true);
    press(kDesignButton);
    EXPECT_FALSE(platform::isWindowOpen(kDesignWindow));
    for (int control = kDesignBack; control <= kDesignCancel; ++control)
        EXPECT_EQ(fake::control(control), nullptr) << control;
    EXPECT_TRUE(fake::window(kMainWindow)->enabled);
    EXPECT_EQ(program().settings.Design, 205);
    stepDesignForward(program().designs);
    EXPECT_EQ(program().settings.Design, 205);
    EXPECT_EQ(brushImages(), std::make_pair(105, 205));
}

TEST_F(DesignsTest, MissingImagesLeaveTheBarOnTheDefaultBackground)
{
    // No pictures can be made: no brush can be made, and none is installed.
    fake::failBitmapImages(true);
    program().settings.Design = 203;
    ASSERT_TRUE(createMainWindow());
    program().settings.Design = prepareDesigns(program().designs, program().settings.Design);
    applyBackground(program().designs, program().settings.Design);
    buildMainWindowControls(program().designs);
    EXPECT_EQ(backgroundBrush(), kNoBrush);
    EXPECT_EQ(searchFieldBrush(), kNoBrush);
    EXPECT_EQ(fake::liveBrushCount(), 0);
    fake::failBitmapImages(false);
}

}  // namespace
}  // namespace tellurix
