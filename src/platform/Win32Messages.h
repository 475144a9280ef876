#pragma once
// Message processing of the Windows program. The windows' code installs a
// filter that sees every message before it is dispatched (key handlers, dialog
// navigation); the platform's processMessages and the program's loops use it.
#include <windows.h>

namespace kalvora {

using MessageFilter = bool (*)(MSG& msg);

void setMessageFilter(MessageFilter filter);
// Translates and dispatches one message, unless the filter takes it.
void dispatchMessage(MSG& msg);

} // namespace kalvora
