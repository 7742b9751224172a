// Markers of a question page: HTML comments in its first 254 bytes that give the scale and the solution.
//   <!--FIN  final page (no question)      <!--MIN / <!--MAX  ends of the scale
//   <!--VAL  the solution                   <!--LOG  0 linear, otherwise logarithmic
#pragma once

#include <cstddef>
#include <cstdint>

namespace game {

struct Question;

constexpr size_t kPageHeadBuffer = 256;  // a page's first 254 bytes and two zero bytes

struct PageMarkers {
    bool final = false;
    bool hasMinimum = false, hasMaximum = false, hasSolution = false, hasScaleMode = false;
    double minimum = 0.0, maximum = 0.0, solution = 0.0;
    int32_t scaleMode = 0;
};

// Reads the markers from a page head (NUL-terminated), case-insensitively; each number starts right after its
// seven-character marker and ends where it can no longer continue.
PageMarkers ParsePageMarkers(const char* head);

enum QuestionError {
    kQuestionOk = 0,
    kMissingMinimum,
    kMissingMaximum,
    kMissingSolution,
    kSolutionOutOfRange,
    kMissingScaleMode,
};

// Takes a question page's markers into the state in page order (minimum, maximum, solution, each kept as soon
// as it is read) and reports the first fault. A value that is not a finite number is not taken and counts as
// out of range, so the scale and the reveal only ever see finite numbers.
QuestionError TakeQuestionMarkers(Question& question, const PageMarkers& markers);

// The German error text for a fault, with %s standing for the page's full name.
const char* QuestionErrorFormat(QuestionError error);

}  // namespace game
