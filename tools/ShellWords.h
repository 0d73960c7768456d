#pragma once

#include "platform/base/Exception.h"

#include <string>
#include <string_view>
#include <vector>

// A line that cannot be split (an unclosed quote, a backslash at its very end).
class EShellWordsError : public Exception { using Exception::Exception; };

// Splits one line into words as a POSIX shell splits a command line, without
// expansions: blanks separate words; single quotes keep everything literally; double
// quotes keep everything but a backslash before \ " $ ` ; a backslash outside quotes
// keeps the next character. Error policy: a line that cannot be split throws
// EShellWordsError; nothing is guessed.
std::vector<std::u16string> SplitShellWords(std::u16string_view line);
