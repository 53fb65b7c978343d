#pragma once
// The current date and time as the user's desktop writes them, for the window titles.

#include <QString>

namespace vek1 {

// Today's date in the system's short date format.
QString currentDateText();
// The time now in the system's long time format.
QString currentTimeText();

}  // namespace vek1
