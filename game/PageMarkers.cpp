#include "game/PageMarkers.h"

#include "game/GameState.h"
#include "text/StrSearch.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace game {

namespace {

constexpr int kMarkerLength = 7;

// The text right behind the first occurrence of the marker, or null.
const char* FindMarker(const char* head, const char* marker) {
    const int at = StrFindIA(head, marker);
    return at < 0 ? nullptr : head + at + kMarkerLength;
}

// A decimal number as atof reads it: blanks, a sign, digits with a point and an exponent (and "inf" and "nan",
// which the question refuses later). The library's reader also takes hexadecimal: "0x10" stops after its "0".
double ReadDecimal(const char* text) {
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return negative ? -0.0 : 0.0;
    return std::strtod(text, nullptr);
}

bool ReadNumber(const char* head, const char* marker, double* value) {
    const char* text = FindMarker(head, marker);
    if (!text) return false;
    *value = ReadDecimal(text);
    return true;
}

}  // namespace

PageMarkers ParsePageMarkers(const char* head) {
    PageMarkers markers;
    if (!head) return markers;
    markers.final = FindMarker(head, "<!--FIN") != nullptr;
    markers.hasMinimum = ReadNumber(head, "<!--MIN", &markers.minimum);
    markers.hasMaximum = ReadNumber(head, "<!--MAX", &markers.maximum);
    markers.hasSolution = ReadNumber(head, "<!--VAL", &markers.solution);
    if (const char* text = FindMarker(head, "<!--LOG")) {
        markers.hasScaleMode = true;
        const long mode = std::strtol(text, nullptr, 10);
        markers.scaleMode = mode > INT_MAX ? INT_MAX : (mode < INT_MIN ? INT_MIN : static_cast<int32_t>(mode));
    }
    return markers;
}

QuestionError TakeQuestionMarkers(Question& question, const PageMarkers& markers) {
    bool finite = true;
    auto take = [&finite](double value, double& field) {
        if (std::isfinite(value))
            field = value;
        else
            finite = false;
    };
    if (!markers.hasMinimum) return kMissingMinimum;
    take(markers.minimum, question.minimum);
    if (!markers.hasMaximum) return kMissingMaximum;
    take(markers.maximum, question.maximum);
    if (!markers.hasSolution) return kMissingSolution;
    take(markers.solution, question.solution);
    if (!finite || markers.solution < markers.minimum || markers.solution > markers.maximum)
        return kSolutionOutOfRange;
    if (!markers.hasScaleMode) return kMissingScaleMode;
    question.logScale = markers.scaleMode;
    return kQuestionOk;
}

const char* QuestionErrorFormat(QuestionError error) {
    switch (error) {
    case kMissingMinimum: return "In %s konnten kein Minimalwert gefunden werden !";
    case kMissingMaximum: return "In %s konnten kein Maximalwert gefunden werden !";
    case kMissingSolution: return "In %s konnten kein Lösungswert gefunden werden !";
    case kSolutionOutOfRange: return "Der Lösungswert in %s ist nicht im Min/Maxbereich !";
    case kMissingScaleMode: return "In %s konnten kein Skalenmodus gefunden werden !";
    case kQuestionOk: break;
    }
    return "";
}

}  // namespace game
