// How a caught failure is shown to the operator.
#pragma once
#include "utils/VelExceptBase.h"

// The exception's text, its error code and throw position, in the program's message box.
void ShowCaughtException(const VelExceptBase& e);

// A failure that is not of the family: code 1 at the handler's position, in a plain box.
void ShowOtherException(const ErrPos& handler);

// Runs `work`; a failure escaping it is shown (the family's with its texts, any other
// as code 1 at `handler`) and the caller goes on.
template <class Work>
void RunShowingFailures(Work work, const ErrPos& handler)
{
    try {
        work();
    } catch (const VelExceptBase& e) {
        ShowCaughtException(e);
    } catch (...) {
        ShowOtherException(handler);
    }
}
