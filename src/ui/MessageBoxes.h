#pragma once

#include <QString>
#include <exception>
#include <string>

class QObject;
class QWidget;
namespace brevio {
class Exception;
}

// The error box: empty caption, critical icon, one default OK button.
void ShowErrorBox(const QString &text);
// The program's own messages: the application title as caption, no icon,
// word-wrapped text, one default OK button.
void ShowPlainBox(const QString &text);
// Has a screen reader say text once, without a box: nothing is shown and the
// focus stays where it is in window.
void Announce(QWidget *window, const QString &text);

// Shows a failure in the error box, with a full stop added where the message
// does not already end in punctuation.
void ReportFailure(QObject *sender, const brevio::Exception &failure);

// The message with one full stop appended when its last character (a whole
// character of the locale's encoding) has a code above that of '.'.
std::string withFullStop(std::string message);

void reportEscapedFailure(QObject *sender, const std::exception_ptr &failure) noexcept;

// Runs a handler as the toolkit delivers an event: a failure ends the handler
// and is reported here, at the innermost delivery point, and never reaches Qt's
// event loop. An outer handler whose change ran this one carries on.
template<typename Handler> void runGuarded(QObject *sender, Handler &&handler) noexcept
{
    try {
        handler();
    } catch (...) {
        reportEscapedFailure(sender, std::current_exception());
    }
}
