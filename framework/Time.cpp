#include "framework/Time.h"

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    struct tm parts = {};
    parts.tm_year = nYear - 1900;
    parts.tm_mon = nMonth - 1;
    parts.tm_mday = nDay;
    parts.tm_hour = nHour;
    parts.tm_min = nMin;
    parts.tm_sec = nSec;
    parts.tm_isdst = nDST;
    time_t t = ::mktime(&parts);
    m_time = t == (time_t)-1 ? 0 : t;
}

bool CTime::GetLocalTm(struct tm* out) const { return localtime_s(out, &m_time) == 0; }

struct tm CTime::Local() const {
    struct tm parts = {};
    GetLocalTm(&parts);
    return parts;
}
