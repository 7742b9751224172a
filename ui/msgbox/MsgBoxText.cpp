#include "ui/msgbox/MsgBoxText.h"

#include <algorithm>

namespace {

constexpr BYTE kBoldBit = 0x40;
constexpr BYTE kKeptBits = 0xE0;
constexpr int kMinCutLength = 32;
constexpr int kCutStep = 10;

// The control codes of a text without attributes (DecodeMessageText); the others below kFirstPrintable but the
// tab are colours.
constexpr wchar_t kCodeReset = 7, kCodeUnderline = 8, kCodeLineFeed = 10, kCodeBold = 11, kCodeSeparator = 12,
                  kCodeReturn = 13, kFirstPrintable = 32;
constexpr wchar_t kLastLowColour = 6;  // codes 0-6 give colours 3-9, codes 14-31 colours 10-27

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0xA0; }

class Decoder {
public:
    std::vector<MsgBoxLine> m_lines;

    void Put(wchar_t c, BYTE attr) {
        m_line.text.push_back(c);
        m_line.attrs.push_back(attr);
        m_open = true;
    }
    void EndLine(MsgBoxMarker marker = MsgBoxMarker::None) {
        m_lines.push_back(std::move(m_line));
        m_line = MsgBoxLine();
        if (marker != MsgBoxMarker::None) {
            MsgBoxLine m;
            m.text.assign(1, marker == MsgBoxMarker::Underline ? kUnderlineMarker : kSeparatorMarker);
            m.attrs.assign(1, 0);
            m.marker = marker;
            m_lines.push_back(std::move(m));
        }
        m_open = false;
    }
    void Finish() {
        if (m_open) EndLine();
    }

private:
    MsgBoxLine m_line;
    bool m_open = false;
};

std::vector<MsgBoxLine> DecodeCodes(const std::wstring& text) {
    Decoder d;
    BYTE attr = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const wchar_t c = text[i];
        const bool lineFeedNext = i + 1 < n && text[i + 1] == L'\n';
        if (c >= kFirstPrintable || c == L'\t') {
            d.Put(c, attr);
            continue;
        }
        switch (c) {
        case kCodeReset: attr = 0; break;
        case kCodeUnderline:
        case kCodeSeparator:
            if (lineFeedNext) {
                d.EndLine(c == kCodeUnderline ? MsgBoxMarker::Underline : MsgBoxMarker::Separator);
                attr = 0;
                ++i;
            } else {
                attr |= kBoldBit;
            }
            break;
        case kCodeLineFeed: d.EndLine(); attr = 0; break;
        case kCodeBold: attr |= kBoldBit; break;
        case kCodeReturn:
            d.EndLine();
            attr = 0;
            if (lineFeedNext) ++i;
            break;
        default: {
            const int colour = c <= kLastLowColour ? c + 3 : c - 4;
            attr = static_cast<BYTE>((attr & kKeptBits) | colour);
            if (i + 1 < n && text[i + 1] == kCodeReset) ++i;
        }
        }
    }
    d.Finish();
    return d.m_lines;
}

std::vector<MsgBoxLine> SplitLines(const std::wstring& text, const BYTE* attrs) {
    Decoder d;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            d.EndLine();
            if (text[i] == L'\r' && i + 1 < n && text[i + 1] == L'\n') ++i;
        } else {
            d.Put(text[i], attrs[i]);
        }
    }
    d.Finish();
    return d.m_lines;
}

// One display line's length from `start`: fits maxWidth when a blank or the character limit allows.
int FitLength(const MsgBoxLine& line, size_t start, int maxWidth, int maxChars, const MsgBoxMeasure& measure,
              bool* tooWide, bool* cutAtBlank) {
    const wchar_t* text = line.text.c_str() + start;
    const BYTE* attrs = line.attrs.data() + start;
    int length = static_cast<int>(std::min(line.text.size() - start, static_cast<size_t>(maxChars)));
    *cutAtBlank = false;
    while (length > 0 && measure(text, attrs, length) > maxWidth) {
        int blank = length - 1;
        while (blank > 0 && !IsBlank(text[blank])) --blank;
        if (blank > 0) {
            length = blank;
            *cutAtBlank = true;
            while (length > 0 && IsBlank(text[length - 1])) --length;
        } else if (length > kMinCutLength) {
            length -= kCutStep;
            *tooWide = true;
        } else {
            *tooWide = true;
            break;
        }
    }
    return length;
}

}  // namespace

std::vector<MsgBoxLine> DecodeMessageText(const std::wstring& text, const BYTE* attrs) {
    return attrs ? SplitLines(text, attrs) : DecodeCodes(text);
}

BrokenText BreakMessageLines(const std::vector<MsgBoxLine>& lines, int maxWidth, const MsgBoxMeasure& measure) {
    BrokenText out;
    const int maxChars = maxWidth / 4 + 40;
    int lastWidth = 0;
    for (const MsgBoxLine& line : lines) {
        if (line.marker != MsgBoxMarker::None) {
            MsgBoxLine marker = line;
            marker.width = lastWidth;
            out.lines.push_back(std::move(marker));
            continue;
        }
        size_t start = 0;
        do {
            const size_t before = start;
            bool cutAtBlank = false;
            const int length = FitLength(line, start, maxWidth, maxChars, measure, &out.scrolling, &cutAtBlank);
            if (length > 0 || line.text.empty()) {
                MsgBoxLine piece;
                piece.text = line.text.substr(start, static_cast<size_t>(length));
                piece.attrs.assign(line.attrs.begin() + static_cast<ptrdiff_t>(start),
                                   line.attrs.begin() + static_cast<ptrdiff_t>(start + static_cast<size_t>(length)));
                piece.width = length > 0 ? measure(piece.text.c_str(), piece.attrs.data(), length) : 0;
                lastWidth = piece.width;
                out.widest = std::max(out.widest, std::min(piece.width, maxWidth));
                out.lines.push_back(std::move(piece));
            }
            start += static_cast<size_t>(length);
            // A cut at a blank (the only way to a length of 0) drops the blanks; the next line starts after them.
            if (cutAtBlank || length == 0)
                while (start < line.text.size() && IsBlank(line.text[start])) ++start;
            if (start == before) break;
        } while (start < line.text.size());
    }
    return out;
}
