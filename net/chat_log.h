// The chat log's file name: "ChatLog" + the local date and time (decimal, no leading zeros) +
// "-" + the player's name + ".txt", in the working folder. The lobby writes it on Control+S.
#pragma once

#include "sys_time.h"

#include <string>

// The name as a file-name part: "/", "\" at a character start, control bytes and a lead byte
// without its second byte become "_"; two-byte characters keep their bytes.
std::string ChatLogSafeName(const std::string& name);
std::string ChatLogFileName(const SysLocalTime& time, const std::string& name);
