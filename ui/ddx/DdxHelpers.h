// Dialog data exchange beyond the framework's: decimal numbers with grouped digits, a "from / value / to"
// range group with its mode selector, dates and times typed as text, whole numbers and combo texts.
// Writers set a control's text only when it changes, so that an unchanged field keeps caret and selection.
// A reader whose text gives a value the variable cannot hold reports a range error and fails the exchange,
// leaving the variable as it was.
#pragma once

#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Time.h"
#include "ui/ddx/DateTimeText.h"

// Decimal fields; decimals 0..9. The scaled forms show value * factor and read back the text / factor.
void DDX_Double(CDataExchange* pDX, int nIDC, double* value, int decimals);
void DDX_Float(CDataExchange* pDX, int nIDC, float* value, int decimals);
void DDX_DoubleScaled(CDataExchange* pDX, int nIDC, double* value, int decimals, double factor);
void DDX_FloatScaled(CDataExchange* pDX, int nIDC, float* value, int decimals, double factor);

// The range group: the "from" (or single value) edit nIDC, an optional label, the "to" edit, an optional
// label and the mode selector (radio buttons or a combo box), in this z-order. Modes 0-5: 0 no condition,
// 5 a range from one value to another; offeredModes has a bit for every mode the selector lists, in order.
void DDX_RangeGroup(CDataExchange* pDX, int nIDC, int* from, int* to, int* mode, unsigned offeredModes);
void DDX_RangeGroupDouble(CDataExchange* pDX, int nIDC, double* from, double* to, int* mode, unsigned offeredModes,
                          int decimals = 2);
// The selector's index for a mode and the mode for an index (pure; see DDX_RangeGroup).
int RangeGroupIndex(int mode, unsigned offeredModes);
int RangeGroupMode(int index, unsigned offeredModes);

// Dates (FormatDate formats), times, and both: "date time", format bit 0 = no seconds, the remaining bits
// shifted right by one are the date format. The CTime forms change only their part (date or time).
void DDX_DateStruct(CDataExchange* pDX, int nIDC, DateRecord* date, int format);
void DDX_DateCTime(CDataExchange* pDX, int nIDC, CTime* time, int format);
void DDX_TimeStruct(CDataExchange* pDX, int nIDC, TimeRecord* time, BOOL noSeconds);
void DDX_TimeCTime(CDataExchange* pDX, int nIDC, CTime* time, BOOL noSeconds);
void DDX_DateTimeStruct(CDataExchange* pDX, int nIDC, DateTimeRecord* record, int format);
void DDX_DateTimeCTime(CDataExchange* pDX, int nIDC, CTime* time, int format);

// Whole numbers in decimal; text that is no number reads as 0.
void DDX_IntText(CDataExchange* pDX, int nIDC, int* value);
void DDX_UIntText(CDataExchange* pDX, int nIDC, unsigned* value);
// A text buffer of `size` characters (NUL included).
void DDX_TextBuffer(CDataExchange* pDX, int nIDC, char* buffer, int size);
// Reads the selected entry's text (the window text when none is selected); writes the window text when it
// differs from the selected entry's (or the window's) text.
void DDX_ComboText(CDataExchange* pDX, int nIDC, CString& value);
// With an entry selected: sets the window text to itself, keeping the edit selection.
void RefreshComboText(CComboBox* combo);
