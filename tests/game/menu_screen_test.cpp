// The level menu: title, buttons that light up only when unlocked, locks,
// best score and the click that starts a level.
#include "game_fixture.h"

namespace {

using MenuTest = GameTest;

const Vector2 kButtonCentres[] = {{500, 465}, {500, 525}, {500, 585}, {500, 645}};

TEST_F(MenuTest, TitleIsCentredWithMeasureTextAndTheTextsStandWhereTheyBelong) {
    StartGame(123);

    const RecordedFrame &frame = PlayFrame();

    const DrawCall *title = scripted::FindText(frame, "ZK COILRUSH");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->rect.x, static_cast<float>((1000 - MeasureText("ZK COILRUSH", 50)) / 2));
    EXPECT_EQ(title->rect.y, 320.0f);
    EXPECT_EQ(title->fontSize, 50);
    EXPECT_TRUE(SameColor(title->color, DARKGREEN));
    const DrawCall *prompt = scripted::FindText(frame, "Choose a Level:");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->rect.x, 400.0f);
    EXPECT_EQ(prompt->rect.y, 380.0f);
    const DrawCall *best = scripted::FindText(frame, "High Score: 123");
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->rect.x, 420.0f);
    EXPECT_EQ(best->rect.y, 690.0f);
    EXPECT_EQ(best->fontSize, 25);
    EXPECT_TRUE(SameColor(best->color, DARKBLUE));
    const DrawCall *label = scripted::FindText(frame, "Level 4 ");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->rect.x, 430.0f);
    EXPECT_EQ(label->rect.y, 635.0f);
}

struct LockCase {
    int bestScore;
    int unlockedLevels;  // levels 1..n are open
};

TEST_F(MenuTest, LocksAndHoverColoursFollowTheBestScore) {
    const Color hover[] = {RED, GREEN, PURPLE, BLUE};
    const LockCase cases[] = {{0, 1}, {99, 1}, {100, 2}, {299, 2}, {300, 3}, {499, 3}, {500, 4}};
    for (const LockCase &c : cases) {
        SCOPED_TRACE(c.bestScore);
        highScore = c.bestScore;
        StartGame();
        highScore = c.bestScore;
        for (int level = 1; level <= 4; level++) {
            SCOPED_TRACE(level);
            const bool unlocked = level <= c.unlockedLevels;
            FrameInput hoverInput;
            hoverInput.mouse = kButtonCentres[level - 1];
            const RecordedFrame &frame = PlayFrame(hoverInput);

            const std::vector<DrawCall> faces = CallsOfKind(frame, DrawKind::RectangleRec);
            ASSERT_EQ(faces.size(), 4u);
            for (int other = 1; other <= 4; other++) {
                const bool lit = other == level && unlocked;
                EXPECT_TRUE(SameColor(faces[other - 1].color, lit ? hover[other - 1] : LIGHTGRAY))
                    << "button " << other;
            }
            const DrawCall *label = scripted::FindText(frame, TextFormat("Level %d ", level));
            ASSERT_NE(label, nullptr);
            EXPECT_TRUE(SameColor(label->color, unlocked ? BLACK : GRAY));
        }
        size_t locks = 0;
        for (const DrawCall &text : scripted::TextsOf(scripted::Frames().back())) {
            if (text.text == "LOCKED") {
                locks++;
                EXPECT_EQ(text.rect.x, 520.0f);
                EXPECT_TRUE(SameColor(text.color, GRAY));
            }
        }
        EXPECT_EQ(locks, static_cast<size_t>(4 - c.unlockedLevels));
        ShutDown(state, assets);
        started = false;
        scripted::ResetPlatform();
    }
}

TEST_F(MenuTest, AClickOnAnUnlockedButtonStartsThatLevelFromTheNextFrame) {
    StartGame(150);
    FrameInput click;
    click.mouse = kButtonCentres[1];
    click.click = true;

    const RecordedFrame &frame = PlayFrame(click);

    EXPECT_NE(scripted::FindText(frame, "Choose a Level:"), nullptr);
    EXPECT_EQ(state.currentScreen, PLAYING);
    EXPECT_EQ(state.level, 2);
    EXPECT_EQ(state.moveInterval, 0.055555556f);
    EXPECT_NE(scripted::FindText(PlayFrame(), "Level: 2"), nullptr);
}

struct DeadClickCase {
    const char *name;
    Vector2 mouse;
    bool click;
};

TEST_F(MenuTest, ClicksOutsideUnlockedButtonsAndHeldButtonsStartNothing) {
    const DeadClickCase cases[] = {
        {"gap between buttons 1 and 2", {500, 495}, true},
        {"just below button 4", {500, 670}, true},
        {"beside button 1", {399, 465}, true},
        {"right edge is outside", {600, 465}, true},
        {"locked level 3", kButtonCentres[2], true},
        {"locked level 4", kButtonCentres[3], true},
        {"button held, not pressed", kButtonCentres[0], false},
    };
    StartGame(150);
    for (const DeadClickCase &c : cases) {
        SCOPED_TRACE(c.name);
        FrameInput input;
        input.mouse = c.mouse;
        input.click = c.click;
        PlayFrame(input);
        EXPECT_EQ(state.currentScreen, MENU);
        EXPECT_EQ(state.level, 0);
    }
}

TEST_F(MenuTest, TheTopLeftCornerOfAButtonCounts) {
    StartGame();
    FrameInput click;
    click.mouse = {400, 440};
    click.click = true;
    PlayFrame(click);
    EXPECT_EQ(state.level, 1);
}

}  // namespace
