#pragma once

#include <QString>
#include <functional>

namespace tal {

// Caption of the standard error report.
inline constexpr const char* kApplicationTitle = "Редактор программ намотки";

// The text the standard error report shows: the message with a full stop appended, unless its
// last character's code is at most that of "." (an empty message stays empty).
QString standardErrorText(const QString& message);

// Shows an error that no command handled: error icon, OK button, the application's title.
void showStandardErrorReport(const QString& message);

// Runs the body of an event handler; an error escaping it goes to the standard error report
// and the event loop goes on.
void runGuarded(const std::function<void()>& body);

}  // namespace tal
