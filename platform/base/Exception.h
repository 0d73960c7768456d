#pragma once

#include "platform/base/UnicodeText.h"

#include <stdexcept>
#include <string>

// The base of every error the program raises. It carries the message the user sees,
// already in the program's own words; one place in the application shows it.
class Exception : public std::runtime_error {
public:
    explicit Exception(std::u16string message)
        : std::runtime_error(TextToUtf8(message)), FMessage(std::move(message)) {}
    const std::u16string& Message() const { return FMessage; }

private:
    std::u16string FMessage;
};

// A text that is not a number where one is required ("'%s' は整数ではありません").
class EConvertError : public Exception { using Exception::Exception; };
// A file that cannot be created ("ﾌｧｲﾙ %s を作成できません").
class EFCreateError : public Exception { using Exception::Exception; };
// A write that failed part-way ("ｽﾄﾘｰﾑへの書き込みｴﾗｰ").
class EWriteError : public Exception { using Exception::Exception; };
// A string list index outside the list.
class EStringListError : public Exception { using Exception::Exception; };
// A settings file that cannot be written ("%s に書き込めません").
class EIniFileError : public Exception { using Exception::Exception; };
// An image of a size the format or the memory cannot take (too large, or empty).
class EImageSizeError : public Exception { using Exception::Exception; };
