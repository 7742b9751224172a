// What a selection dialog hands back, as whole values for one comparison.
#pragma once

#include "ui/dialogs/SelectDialogs.h"

#include <string>
#include <tuple>
#include <vector>

// The chosen index, text and value.
using Choice = std::tuple<int, std::string, uint32_t>;
inline Choice Chosen(const CSelectDlgBase& d) { return {d.m_index, static_cast<const char*>(d.m_text), d.m_value}; }

// The ticks of the first `count` entries.
inline std::vector<int> Checks(const CResizableSelectDlg& d, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(d.GetCheck(i));
    return out;
}
