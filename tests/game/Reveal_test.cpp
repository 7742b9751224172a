#include "tests/game/GameTestSupport.h"

#include "game/Reveal.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace game;

TEST(Reveal, PlanDrawsSwingsFirstAndClampsTheAmplitude) {
    RevealPlan plan = PlanReveal(400, 800, 5, 42);
    EXPECT_EQ(plan.swingCount, 8);
    EXPECT_EQ(plan.target, 400);
    EXPECT_EQ(plan.runUpMs, 850);
    EXPECT_EQ(plan.amplitude, 266 + 42);
    EXPECT_EQ(PlanReveal(400, 800, 6, 0).swingCount, 3);
    // Near the right end the swing may pass the end by at most 32 pixels.
    plan = PlanReveal(780, 800, 0, 99);
    EXPECT_EQ(plan.amplitude, 800 - 780 + 32);
    // Near the left end likewise.
    plan = PlanReveal(10, 800, 0, 99);
    EXPECT_EQ(plan.amplitude, 10 + 32);
    // A solution at the left end: no run-up, the swing stays around the end.
    plan = PlanReveal(0, 800, 0, 0);
    EXPECT_EQ(plan.runUpMs, 0);
    EXPECT_EQ(plan.amplitude, 32);
}

TEST(Reveal, RunUpThenDampedSwingThenEnd) {
    const RevealPlan plan = PlanReveal(400, 800, 0, 0);  // N = 3, R = 850, A = 266
    bool finished = true;
    EXPECT_EQ(RevealPosition(plan, 800, 0, &finished), 0);
    EXPECT_FALSE(finished);
    EXPECT_EQ(RevealPosition(plan, 800, 425, &finished), 200);
    EXPECT_EQ(RevealPosition(plan, 800, 849, &finished), 399);
    EXPECT_EQ(RevealPosition(plan, 800, 850, &finished), 400);
    // A quarter wave after the run-up: sin = 1, damping 1 - 850/5100.
    const int expected = 400 + static_cast<int>(std::sin(850 * M_PI / 1700) * (1 - 850.0 / 5100) * 266);
    EXPECT_EQ(RevealPosition(plan, 800, 1700, &finished), expected);
    // Three quarters: the other side.
    EXPECT_LT(RevealPosition(plan, 800, 850 + 2550, &finished), 400);
    EXPECT_FALSE(finished);
    EXPECT_EQ(RevealPosition(plan, 800, 850 + 5100 - 1, &finished), 400);
    EXPECT_FALSE(finished);
    EXPECT_EQ(RevealPosition(plan, 800, 850 + 5100, &finished), 400);
    EXPECT_TRUE(finished);
}

TEST(Reveal, WinnerIsStrictlyCloser) {
    EXPECT_EQ(DecideWinner(400, 390, 420), kRed);
    EXPECT_EQ(DecideWinner(400, 380, 401), kBlue);
    EXPECT_EQ(DecideWinner(400, 390, 410), -1);  // same distance from either side
    EXPECT_EQ(DecideWinner(400, 400, 400), -1);
}

TEST(Reveal, SolutionPixelStaysOnTheScale) {
    Question question;
    BoardGeometry geometry;
    geometry.scaleLength = 800;
    question.minimum = 0;
    question.solution = 500;
    geometry.pixelsPerUnit = 0.8;
    EXPECT_EQ(SolutionPixel(question, geometry), 400);
    question.solution = 2000;  // beyond the scale (stored after a range error)
    EXPECT_EQ(SolutionPixel(question, geometry), 800);
    question.solution = -10;
    EXPECT_EQ(SolutionPixel(question, geometry), 0);
    geometry.pixelsPerUnit = 0;  // no extent (minimum equal to maximum): the left end
    question.solution = 500;
    EXPECT_EQ(SolutionPixel(question, geometry), 0);
    // Logarithmic: a solution of zero, negative, or below the adjusted minimum stands at the left end.
    question.logScale = 1;
    question.minimum = 50;
    geometry.pixelsPerUnit = 400;
    question.solution = 500;
    EXPECT_EQ(SolutionPixel(question, geometry), 400);
    for (double v : {0.0, -3.0, 10.0, std::nan("")}) {
        question.solution = v;
        EXPECT_EQ(SolutionPixel(question, geometry), 0) << v;
    }
}
