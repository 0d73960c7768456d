#pragma once

// The renderer's exit statuses (and 128 + a signal's number for a run a signal stopped).
constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitBadArgument = 2;
