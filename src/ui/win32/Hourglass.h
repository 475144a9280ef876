#pragma once
// The mouse cursor for the whole program: the hourglass while set. Every form
// shows it over its windows while it is set.
namespace kalvora {

void setHourglass(bool on);
bool hourglassShown();

} // namespace kalvora
