#pragma once

#include <chrono>

// Whether the desktop's session bus, as the D-Bus library would reach it (the address in
// DBUS_SESSION_BUS_ADDRESS, or $XDG_RUNTIME_DIR/bus without one), takes a connection and then
// does not answer its first words within bound. A bus that answers, refuses or is not there at
// all is no such bus, nor one reached otherwise than by a Unix socket, which is not tried.
bool SessionBusSilent(std::chrono::milliseconds bound);
