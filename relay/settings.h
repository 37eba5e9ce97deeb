// The relay's one setting, read on its own from the game's settings file in the working folder.
#pragma once

// The port every game connects to when this machine hosts.
constexpr const char* kDefaultHostPort = "5963";

// HostPort of section NET in ".\ap.ini", read with the Windows profile-string rules (names
// match case-insensitively, the value is trimmed and loses enclosing quotes, the first match
// wins) and converted like atol into 16 bits; kDefaultHostPort when absent.
unsigned short ReadHostPort();
