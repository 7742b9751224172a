#include "game/QuestionPages.h"

#include "game/GameState.h"
#include "game/RoundControl.h"
#include "system/FileFunctions.h"

namespace game {

CString StartPageName(const char* infoPath) {
    CString name;
    name.Format("%s\\Main\\Info.html", infoPath ? infoPath : "");
    return name;
}

CString QuestionPageName(const char* infoPath, int32_t number) {
    CString name;
    name.Format("%s\\Game%03i\\Info.html", infoPath ? infoPath : "", number);
    return name;
}

size_t ReadPageHead(const char* path, char (&head)[kPageHeadBuffer]) {
    return static_cast<size_t>(ReadFileToBufferA(path, head, kPageHeadBuffer));
}

CString PageLoad::ErrorText() const {
    const char* format = outcome == kNotFound ? "Die Datei %s konnte nicht gefunden werden !"
                         : outcome == kFaulty ? QuestionErrorFormat(error)
                                              : nullptr;
    CString text;
    if (format) text.Format(format, static_cast<const char*>(page));
    return text;
}

PageLoad LoadNextQuestion(GameState& state, const char* infoPath, const std::function<void(const CString&)>& showPage) {
    PageLoad load;
    std::atomic<int32_t>* playerState = state.shared.playerState;
    const bool bothIdle = playerState[kRed] == kPlayerIdle && playerState[kBlue] == kPlayerIdle;
    if (!((bothIdle && !state.round.roundActive) || state.round.revealState == kRevealFinished)) return load;

    state.round.markerPosition = kNotDrawn;
    state.round.winner = -1;
    playerState[kRed] = kPlayerIdle;
    playerState[kBlue] = kPlayerIdle;
    state.round.revealState = kRevealNone;

    for (int tries = 0;; ++tries) {
        if (state.round.repeatNumber)
            state.round.repeatNumber = 0;
        else
            ++state.shared.gameNumber;
        load.page = QuestionPageName(infoPath, state.shared.gameNumber);
        if (GetPathTypeA(load.page) == PATH_FILE) break;
        if (tries + 1 >= kPageSearchTries) {
            load.outcome = PageLoad::kNotFound;
            return load;
        }
    }

    if (showPage) showPage(load.page);
    char head[kPageHeadBuffer];
    ReadPageHead(load.page, head);
    const PageMarkers markers = ParsePageMarkers(head);

    if (markers.final) {
        state.shared.noQuestion = 1;
        state.drawn.board = 0;
        --state.shared.gameNumber;  // the next load comes back to the closing page
        load.outcome = PageLoad::kFinal;
        return load;
    }

    state.shared.noQuestion = 0;
    load.error = TakeQuestionMarkers(state.question, markers);
    if (load.error != kQuestionOk) {
        load.outcome = PageLoad::kFaulty;
        return load;
    }

    state.round.roundActive = 1;
    state.drawn.board = 0;
    if (state.shared.singleMode) state.round.autoStartCountdown = kAutoStartFrames;
    state.round.remainingLimitFrames = TimeLimitFrames(state.settings.timeLimit);
    load.outcome = PageLoad::kLoaded;
    return load;
}

}  // namespace game
