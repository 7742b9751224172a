#include "tests/game/GameTestSupport.h"

#include "game/PageMarkers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace game;

TEST(PageMarkers, ReadsAllMarkersAnyCase) {
    const PageMarkers m = ParsePageMarkers("<!--MIN 10--><!--max\t2.5e3-->\n<!--Val 828-->x<!--log 1-->");
    EXPECT_FALSE(m.final);
    EXPECT_TRUE(m.hasMinimum && m.hasMaximum && m.hasSolution && m.hasScaleMode);
    EXPECT_EQ(m.minimum, 10);
    EXPECT_EQ(m.maximum, 2500);
    EXPECT_EQ(m.solution, 828);
    EXPECT_EQ(m.scaleMode, 1);
    EXPECT_EQ(ParsePageMarkers("<!--min 5").minimum, 5);
    // Numbers are decimal: a hexadecimal prefix ends the number at its "0".
    for (const char* page : {"<!--MIN 0x10-->", "<!--MIN -0X1p4", "<!--MIN\t+0x1A"})
        EXPECT_EQ(ParsePageMarkers(page).minimum, 0) << page;
    EXPECT_EQ(ParsePageMarkers("<!--MAX 010.5e1x2").maximum, 105);
    EXPECT_TRUE(ParsePageMarkers("<html><!--fin-->").final);
    const PageMarkers none = ParsePageMarkers("<html><!-- MIN 3 --><!--MI");
    EXPECT_FALSE(none.hasMinimum);
    EXPECT_FALSE(ParsePageMarkers(nullptr).hasMinimum);
}

TEST(PageMarkers, TakesValuesInOrderAndReportsTheFirstFault) {
    struct Case {
        const char* page;
        QuestionError error;
    } cases[] = {
        {"<!--MIN 0--><!--MAX 10--><!--VAL 5--><!--LOG 0-->", kQuestionOk},
        {"<!--MAX 10--><!--VAL 5--><!--LOG 0-->", kMissingMinimum},
        {"<!--MIN 0--><!--VAL 5--><!--LOG 0-->", kMissingMaximum},
        {"<!--MIN 0--><!--MAX 10--><!--LOG 0-->", kMissingSolution},
        {"<!--MIN 0--><!--MAX 10--><!--VAL 11--><!--LOG 0-->", kSolutionOutOfRange},
        {"<!--MIN 0--><!--MAX 10--><!--VAL -1--><!--LOG 0-->", kSolutionOutOfRange},
        {"<!--MIN 0--><!--MAX 10--><!--VAL 0-->", kMissingScaleMode},
        {"<!--MIN 0--><!--MAX 10--><!--VAL 0--><!--LOG 0-->", kQuestionOk},   // at MIN
        {"<!--MIN 0--><!--MAX 10--><!--VAL 10--><!--LOG 0-->", kQuestionOk},  // at MAX
        {"<!--MIN 0--><!--MAX 10--><!--VAL nan--><!--LOG 0-->", kSolutionOutOfRange},
        {"<!--MIN nan--><!--MAX 10--><!--VAL 5--><!--LOG 0-->", kSolutionOutOfRange},
        {"<!--MIN -inf--><!--MAX inf--><!--VAL 5--><!--LOG 0-->", kSolutionOutOfRange},
        {"<!--MIN 0--><!--MAX 1e999--><!--VAL 5--><!--LOG 0-->", kSolutionOutOfRange},
    };
    for (const Case& c : cases) {
        Question question;
        EXPECT_EQ(TakeQuestionMarkers(question, ParsePageMarkers(c.page)), c.error) << c.page;
        EXPECT_TRUE(std::isfinite(question.minimum) && std::isfinite(question.maximum) && std::isfinite(question.solution))
            << c.page;
    }
    // Values read before a fault stay stored; the scale mode only with a complete page.
    Question question;
    question.logScale = 1;
    TakeQuestionMarkers(question, ParsePageMarkers("<!--MIN 3--><!--MAX 7--><!--LOG 0-->"));
    EXPECT_EQ(question.minimum, 3);
    EXPECT_EQ(question.maximum, 7);
    EXPECT_EQ(question.solution, 600);
    EXPECT_EQ(question.logScale, 1);
}

TEST(PageMarkers, ErrorTextsAreTheOperatorsGerman) {
    EXPECT_STREQ(QuestionErrorFormat(kMissingMinimum), "In %s konnten kein Minimalwert gefunden werden !");
    EXPECT_STREQ(QuestionErrorFormat(kMissingMaximum), "In %s konnten kein Maximalwert gefunden werden !");
    EXPECT_STREQ(QuestionErrorFormat(kMissingSolution), "In %s konnten kein L\xF6sungswert gefunden werden !");
    EXPECT_STREQ(QuestionErrorFormat(kSolutionOutOfRange), "Der L\xF6sungswert in %s ist nicht im Min/Maxbereich !");
    EXPECT_STREQ(QuestionErrorFormat(kMissingScaleMode), "In %s konnten kein Skalenmodus gefunden werden !");
}
