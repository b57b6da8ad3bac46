// The boundary every event handler runs inside: an error that escapes a handler is shown in
// the standard exception display and the program goes on.
#pragma once

#include "platform/Exception.h"

#include <QString>

#include <exception>

// A message box with the error's message, the program's title as caption, an error icon and OK.
void ShowException(const QString &message);

template <typename Handler>
void Guarded(Handler &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        ShowException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowException(QString());   // a thrown value that is not an error object
    }
}
