#include "tests/game/GameTestSupport.h"
#include "tests/game/QuestionFolder.h"

#include "game/QuestionPages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace game;
using gametest::QuestionFolder;

namespace {

const char kPage[] = "<!--MIN 0-->\n<!--MAX 1000-->\n<!--VAL 828-->\n<!--LOG 0-->\n<html></html>";

struct Shown {
    std::vector<std::string> pages;
    std::function<void(const CString&)> Sink() {
        return [this](const CString& page) { pages.push_back(static_cast<const char*>(page)); };
    }
};

}  // namespace

TEST(QuestionPages, PageNames) {
    EXPECT_STREQ(QuestionPageName("C:\\Fragen", 7), "C:\\Fragen\\Game007\\Info.html");
    EXPECT_STREQ(QuestionPageName("C:\\Fragen", 1000), "C:\\Fragen\\Game1000\\Info.html");
    EXPECT_STREQ(StartPageName("D:\\Show"), "D:\\Show\\Main\\Info.html");
}

TEST(QuestionPages, ReadsOnlyTheFirst254Bytes) {
    QuestionFolder folder;
    std::string content(250, ' ');
    content += "<!--MIN 5-->";  // straddles byte 254
    const std::string file = folder.WritePage("Game001", content);
    char head[kPageHeadBuffer];
    EXPECT_EQ(ReadPageHead(file.c_str(), head), 254u);
    EXPECT_EQ(head[254], 0);
    EXPECT_EQ(head[255], 0);
    EXPECT_FALSE(ParsePageMarkers(head).hasMinimum);
    EXPECT_EQ(ReadPageHead((folder.Path() + "\\none.html").c_str(), head), 0u);
    EXPECT_EQ(head[0], 0);
}

TEST(QuestionPages, LoadsTheNextPageAndArmsTheRound) {
    QuestionFolder folder;
    const std::string page1 = folder.WriteQuestion(1, kPage);
    const std::string page3 = folder.WriteQuestion(3, "<!--MIN 1--><!--MAX 100--><!--VAL 10--><!--LOG 1-->");
    GameState state;
    state.settings.timeLimit = 5;
    Shown shown;
    PageLoad load = LoadNextQuestion(state, folder.Path().c_str(), shown.Sink());
    EXPECT_EQ(load.outcome, PageLoad::kLoaded);
    EXPECT_STREQ(load.page, page1.c_str());
    EXPECT_EQ(shown.pages, std::vector<std::string>{page1});
    EXPECT_EQ(state.shared.gameNumber, 1);
    EXPECT_EQ(state.round.roundActive, 1);
    EXPECT_EQ(state.shared.noQuestion, 0);
    EXPECT_EQ(state.question.solution, 828);
    EXPECT_EQ(state.round.remainingLimitFrames, 166u);
    EXPECT_EQ(state.round.autoStartCountdown, 0);

    // While the round is active nothing happens.
    EXPECT_EQ(LoadNextQuestion(state, folder.Path().c_str(), shown.Sink()).outcome, PageLoad::kRefused);
    state.shared.playerState[kRed] = kPlayerStopped;
    EXPECT_EQ(LoadNextQuestion(state, folder.Path().c_str(), shown.Sink()).outcome, PageLoad::kRefused);
    // After the reveal the next number is loaded, skipping the gap, in single mode with the auto-start.
    state.round.revealState = kRevealFinished;
    state.round.roundActive = 0;
    state.shared.singleMode = 1;
    load = LoadNextQuestion(state, folder.Path().c_str(), shown.Sink());
    EXPECT_EQ(load.outcome, PageLoad::kLoaded);
    EXPECT_STREQ(load.page, page3.c_str());
    EXPECT_EQ(state.shared.gameNumber, 3);
    EXPECT_EQ(state.question.logScale, 1);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerIdle);
    EXPECT_EQ(state.round.revealState, kRevealNone);
    EXPECT_EQ(state.round.autoStartCountdown, kAutoStartFrames);
}

TEST(QuestionPages, ResetRepeatsTheSameNumber) {
    QuestionFolder folder;
    folder.WriteQuestion(1, kPage);
    folder.WriteQuestion(2, kPage);
    GameState state;
    ASSERT_EQ(LoadNextQuestion(state, folder.Path().c_str(), nullptr).outcome, PageLoad::kLoaded);
    ResetGame(state);
    ASSERT_EQ(LoadNextQuestion(state, folder.Path().c_str(), nullptr).outcome, PageLoad::kLoaded);
    EXPECT_EQ(state.shared.gameNumber, 1);
    EXPECT_EQ(state.round.repeatNumber, 0);
}

TEST(QuestionPages, SearchSkipsUpTo51MissingNumbers) {
    QuestionFolder folder;
    folder.WriteQuestion(52, kPage);
    GameState state;
    PageLoad load = LoadNextQuestion(state, folder.Path().c_str(), nullptr);
    EXPECT_EQ(load.outcome, PageLoad::kLoaded);
    EXPECT_EQ(state.shared.gameNumber, 52);

    QuestionFolder empty;
    GameState none;
    Shown shown;
    load = LoadNextQuestion(none, empty.Path().c_str(), shown.Sink());
    EXPECT_EQ(load.outcome, PageLoad::kNotFound);
    EXPECT_EQ(none.shared.gameNumber, 52);  // stays at the last number tried
    EXPECT_STREQ(load.page, QuestionPageName(empty.Path().c_str(), 52));
    EXPECT_TRUE(shown.pages.empty());
    EXPECT_STREQ(load.ErrorText(),
                 ("Die Datei " + empty.Path() + "\\Game052\\Info.html konnte nicht gefunden werden !").c_str());
}

TEST(QuestionPages, FinalPageIsShownAgainAndKeepsTheNumber) {
    QuestionFolder folder;
    folder.WriteQuestion(1, "<!--FIN-->\n<html>Ende</html>");
    GameState state;
    state.shared.noQuestion = 0;
    Shown shown;
    for (int i = 0; i < 2; ++i) {
        const PageLoad load = LoadNextQuestion(state, folder.Path().c_str(), shown.Sink());
        EXPECT_EQ(load.outcome, PageLoad::kFinal);
        EXPECT_EQ(state.shared.gameNumber, 0);
        EXPECT_EQ(state.shared.noQuestion, 1);
        EXPECT_TRUE(load.ErrorText().IsEmpty());
    }
    EXPECT_EQ(shown.pages.size(), 2u);
    EXPECT_FALSE(StartPlayer(state.shared, kRed, 1));
}

TEST(QuestionPages, FaultyPageStaysShownWithItsError) {
    QuestionFolder folder;
    const std::string page = folder.WriteQuestion(1, "<!--MIN 0--><!--MAX 10--><!--VAL 50--><!--LOG 0-->");
    GameState state;
    Shown shown;
    const PageLoad load = LoadNextQuestion(state, folder.Path().c_str(), shown.Sink());
    EXPECT_EQ(load.outcome, PageLoad::kFaulty);
    EXPECT_EQ(load.error, kSolutionOutOfRange);
    EXPECT_EQ(shown.pages, std::vector<std::string>{page});
    EXPECT_STREQ(load.ErrorText(), ("Der L\xF6sungswert in " + page + " ist nicht im Min/Maxbereich !").c_str());
    EXPECT_EQ(state.round.roundActive, 0);
    EXPECT_EQ(state.shared.noQuestion, 0);  // the pointers may still be started
    EXPECT_EQ(state.question.maximum, 10);
}
