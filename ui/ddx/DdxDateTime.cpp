#include "ui/ddx/DdxControlText.h"
#include "ui/ddx/DdxHelpers.h"

#include <ctime>

namespace {

constexpr int kNoSeconds = 1;

DateRecord DateOf(const struct tm& t) {
    return {static_cast<WORD>(t.tm_year + 1900), static_cast<WORD>(t.tm_mon + 1), static_cast<WORD>(t.tm_mday)};
}

TimeRecord TimeOf(const struct tm& t) {
    return {static_cast<WORD>(t.tm_hour), static_cast<WORD>(t.tm_min), static_cast<WORD>(t.tm_sec)};
}

CTime TimeFrom(const DateRecord& d, const TimeRecord& t) {
    return CTime(d.year, d.month, d.day, t.hour, t.minute, t.second);
}

CString DateText(const DateRecord& date, int format) {
    char text[ddx::kShortText + 1];
    FormatDate(text, sizeof text, date, format);
    return text;
}

CString TimeText(const TimeRecord& time, bool noSeconds) {
    char text[16];
    FormatTime(text, sizeof text, time, noSeconds);
    return text;
}

// Each exchange returns true when it read a value from its field.
bool ExchangeDate(CDataExchange* pDX, int nIDC, DateRecord* date, int format) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return false;
    if (!pDX->m_bSaveAndValidate) {
        ddx::WriteText(hWnd, DateText(*date, format));
        return false;
    }
    if (ParseDate(ddx::ReadText(hWnd, ddx::kShortText), date, LocalNow()) < 0) {
        ddx::FailOutOfRange(pDX);
        return false;
    }
    return true;
}

bool ExchangeTime(CDataExchange* pDX, int nIDC, TimeRecord* time, bool noSeconds) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return false;
    if (!pDX->m_bSaveAndValidate) {
        ddx::WriteText(hWnd, TimeText(*time, noSeconds));
        return false;
    }
    ParseTime(ddx::ReadText(hWnd, ddx::kShortText), time, 0, LocalNow());
    return true;
}

bool ExchangeDateTime(CDataExchange* pDX, int nIDC, DateRecord* date, TimeRecord* time, int format) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return false;
    if (!pDX->m_bSaveAndValidate) {
        ddx::WriteText(hWnd, DateText(*date, format >> 1) + " " + TimeText(*time, (format & kNoSeconds) != 0));
        return false;
    }
    const CString text = ddx::ReadText(hWnd, ddx::kShortText);
    const SYSTEMTIME now = LocalNow();
    int used = 0;
    if (ParseDate(text, date, now, &used) < 0) {
        ddx::FailOutOfRange(pDX);
        return false;
    }
    ParseTime(text, time, used, now);
    return true;
}

// The local parts of a CTime (all zero when it cannot be shown in local time).
struct tm PartsOf(const CTime& time) {
    struct tm parts = {};
    if (!time.GetLocalTm(&parts)) parts = {};
    return parts;
}

}  // namespace

void DDX_DateStruct(CDataExchange* pDX, int nIDC, DateRecord* date, int format) { ExchangeDate(pDX, nIDC, date, format); }

void DDX_TimeStruct(CDataExchange* pDX, int nIDC, TimeRecord* time, BOOL noSeconds) {
    ExchangeTime(pDX, nIDC, time, noSeconds != FALSE);
}

void DDX_DateTimeStruct(CDataExchange* pDX, int nIDC, DateTimeRecord* record, int format) {
    ExchangeDateTime(pDX, nIDC, &record->date, &record->time, format);
}

void DDX_DateCTime(CDataExchange* pDX, int nIDC, CTime* time, int format) {
    const struct tm parts = PartsOf(*time);
    DateRecord date = DateOf(parts);
    if (ExchangeDate(pDX, nIDC, &date, format)) *time = TimeFrom(date, TimeOf(parts));
}

void DDX_TimeCTime(CDataExchange* pDX, int nIDC, CTime* time, BOOL noSeconds) {
    const struct tm parts = PartsOf(*time);
    TimeRecord clock = TimeOf(parts);
    if (ExchangeTime(pDX, nIDC, &clock, noSeconds != FALSE)) *time = TimeFrom(DateOf(parts), clock);
}

void DDX_DateTimeCTime(CDataExchange* pDX, int nIDC, CTime* time, int format) {
    const struct tm parts = PartsOf(*time);
    DateTimeRecord record = {DateOf(parts), TimeOf(parts)};
    if (ExchangeDateTime(pDX, nIDC, &record.date, &record.time, format)) *time = TimeFrom(record.date, record.time);
}
