// The system's short date and time texts, as the log lines and the recap board write them:
// "12/5/2024" and "3:07:09 PM".
#pragma once

#include <string>

#include "engine/dates.h"

namespace dv {

std::string ShortDateText(const Date& d);
std::string ShortTimeText(const Date& d);
// Now's date, a blank and its time: the stamp of the log's lines.
std::string NowStamp();

}  // namespace dv
