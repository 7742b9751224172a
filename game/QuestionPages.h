// The question folder: the start page Main\Info.html and the question pages GameNNN\Info.html below the info
// path, and loading the next question page into the game state.
#pragma once

#include "framework/CString.h"
#include "game/PageMarkers.h"

#include <cstdint>
#include <functional>

namespace game {

struct GameState;

constexpr int kPageSearchTries = 52;  // one load skips up to 51 missing numbers

CString StartPageName(const char* infoPath);
CString QuestionPageName(const char* infoPath, int32_t number);

// Reads a page's first 254 bytes into head and ends them with two zero bytes; returns the bytes read.
size_t ReadPageHead(const char* path, char (&head)[kPageHeadBuffer]);

struct PageLoad {
    enum Outcome {
        kRefused,   // a round is still running
        kNotFound,  // no page within the search
        kFinal,     // the closing page
        kFaulty,    // a question page with a marker fault
        kLoaded,    // a playable question
    };
    Outcome outcome = kRefused;
    CString page;                       // the page shown (or, when none was found, the last name tried)
    QuestionError error = kQuestionOk;  // the fault of a faulty page

    // The text to show the operator for kNotFound and kFaulty, else empty.
    CString ErrorText() const;
};

// Loads the next question page ("Starte Bild"): refuses while a round runs and its reveal has not finished,
// advances the game number (or repeats it once after a reset) until a page exists, shows it through showPage,
// reads its markers and arms the round. The time limit's frames and, in single mode, the auto-start are set
// for a playable question.
PageLoad LoadNextQuestion(GameState& state, const char* infoPath, const std::function<void(const CString&)>& showPage);

}  // namespace game
