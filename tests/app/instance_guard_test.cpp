#include <gtest/gtest.h>

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

#include "app/instance_guard.h"

namespace {

struct KeyCase {
    std::u16string user;
    std::string key;
};

// Every key must be usable in a mutex name (no backslash), a window name and a file name (no slash, no dot
// tricks), and two different users must never share one.
TEST(InstanceKey, KeepsLettersDigitsAndDashesAndSpellsOutEverythingElse) {
    const std::vector<KeyCase> cases = {
        {u"S-1-5-21-3623811015-3361044348-30300820-1013", "S-1-5-21-3623811015-3361044348-30300820-1013"},
        {u"uid1000", "uid1000"},
        {u"yamada taro", "yamada_0020taro"},
        {u"DOMAIN\\yamada", "DOMAIN_005Cyamada"},
        {u"../etc", "_002E_002E_002Fetc"},
        {u"山田", "_5C71_7530"},
        {u"a_b", "a_005Fb"},
        {u"", "unknown"},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(app::instanceKey(c.user), c.key);
    }
}

TEST(InstanceKey, DistinctUsersKeepDistinctKeys) {
    // '_' is itself spelled out, so a user named like another's escape cannot take that user's key.
    EXPECT_NE(app::instanceKey(u"a b"), app::instanceKey(u"a_0020b"));
    EXPECT_NE(app::instanceKey(u"Yamada"), app::instanceKey(u"yamada"));
}

TEST(OneInstance, OffscreenRunsStandAside) {
    EXPECT_FALSE(app::takesPartInOneInstance("offscreen"));
    for (const char* platform : {"windows", "xcb", "wayland", "minimal"}) {
        EXPECT_TRUE(app::takesPartInOneInstance(platform)) << platform;
    }
}

// A holder that answers from a given attempt on (0: never), and notes the window state its platform step
// meets when it brings a window forward.
class ScriptedGuard final : public app::InstanceGuard {
public:
    explicit ScriptedGuard(int answersFrom) : m_answersFrom(answersFrom) {}
    bool holdsClaim() const override { return false; }
    bool askHolderToComeForward() override {
        ++asked;
        return m_answersFrom != 0 && asked >= m_answersFrom;
    }
    void answerRequests(std::function<void()>) override {}
    int asked = 0;

    struct Seen {
        QWidget* window;
        bool visible;
        bool minimised;
    };
    std::vector<Seen> platformSteps;

protected:
    void takeForeground(QWidget& window) override {
        platformSteps.push_back({&window, window.isVisible(), window.isMinimized()});
    }

private:
    int m_answersFrom;
};

// The window a later start asks for comes back however the user left it (hidden, minimised, shown), and the
// platform's own step is taken once, on a window that is already restored and shown.
TEST(BringToFront, RestoresAndShowsTheWindowBeforeThePlatformStep) {
    for (const char* left : {"hidden", "minimised", "shown"}) {
        QWidget window;
        if (std::string_view(left) == "minimised") {
            window.showMinimized();
        } else if (std::string_view(left) == "shown") {
            window.show();
        }
        ScriptedGuard guard(1);
        guard.bringToFront(window);
        EXPECT_TRUE(window.isVisible()) << left;
        EXPECT_FALSE(window.isMinimized()) << left;
        ASSERT_EQ(guard.platformSteps.size(), 1U) << left;
        EXPECT_EQ(guard.platformSteps[0].window, &window) << left;
        EXPECT_TRUE(guard.platformSteps[0].visible) << left;
        EXPECT_FALSE(guard.platformSteps[0].minimised) << left;
    }
}

TEST(HandOver, AsksUntilTheHolderAnswersWaitingBetweenAttemptsOnly) {
    struct Case {
        int answersFrom;
        app::HandOver outcome;
        int asked;
        std::vector<int> waits;
    };
    const std::vector<Case> cases = {
        {1, app::HandOver::Answered, 1, {}},
        {3, app::HandOver::Answered, 3, {200, 200}},
        {0, app::HandOver::NoAnswer, 4, {200, 200, 200}},
        {5, app::HandOver::NoAnswer, 4, {200, 200, 200}},
    };
    for (const Case& c : cases) {
        ScriptedGuard guard(c.answersFrom);
        std::vector<int> waits;
        EXPECT_EQ(app::handOverToHolder(guard, 4, 200, [&](int ms) { waits.push_back(ms); }), c.outcome);
        EXPECT_EQ(guard.asked, c.asked) << c.answersFrom;
        EXPECT_EQ(waits, c.waits) << c.answersFrom;
    }
}

}  // namespace
