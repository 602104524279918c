#pragma once

#include <QString>

#include <functional>
#include <type_traits>

namespace tvl {

// "Error " and the number.
QString ErrorNumberText(int number);
// "Error " and the number, then " - Step: " and the last stage the routine reached.
QString ErrorStepText(int number, int step);
// The form a few routines report, without the colon: "Error " and the number, " - Step " and the stage.
QString ErrorPlainStepText(int number, int step);

// Shows the text in a plain message box captioned "Tovrelline" with an OK button and no icon; without a
// widget application it goes to the standard error stream.
void ReportError(int number);
void ReportErrorStep(int number, int step);
void ReportErrorPlainStep(int number, int step);

// Replaces what shows a report (tests capture them); returns the previous presenter. An empty function
// restores the message box.
using ErrorPresenter = std::function<void(const QString& text)>;
ErrorPresenter SetErrorPresenter(ErrorPresenter presenter);

// Runs body under a catch-all: a failure is reported with the routine's number and the neutral result is
// returned, leaving changes already made in place; the program keeps running. A body taking an int& gets a
// step counter (starting at 0) that it advances through its stages; the report then carries its last value.
template <typename Result, typename Body>
Result Guarded(int number, Result neutral, Body&& body)
{
    int step = 0;
    try {
        if constexpr (std::is_invocable_v<Body, int&>)
            return body(step);
        else
            return body();
    } catch (...) {
        if constexpr (std::is_invocable_v<Body, int&>)
            ReportErrorStep(number, step);
        else
            ReportError(number);
        return neutral;
    }
}

// The same for routines without a result.
template <typename Body>
void Guarded(int number, Body&& body)
{
    if constexpr (std::is_invocable_v<Body, int&>)
        Guarded(number, true, [&](int& step) {
            body(step);
            return true;
        });
    else
        Guarded(number, true, [&] {
            body();
            return true;
        });
}

// The same for a routine whose report takes the form without the colon (" - Step "); body takes the step
// counter.
template <typename Body>
void GuardedPlainStep(int number, Body&& body)
{
    int step = 0;
    try {
        body(step);
    } catch (...) {
        ReportErrorPlainStep(number, step);
    }
}

} // namespace tvl
