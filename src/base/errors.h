#pragma once
// The program's error types. Every message is UTF-8 text meant for the user.
#include <stdexcept>
#include <string>
#include <string_view>

namespace kembo {

// The general error: whatever carries a message for the user.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A picture file that cannot be read or shown.
class PictureError : public Error {
public:
    using Error::Error;
};

// A plug-in that cannot be loaded or used.
class PluginError : public Error {
public:
    using Error::Error;
};

// A silent abort: unwinds like an error, but nobody shows it.
class Abort : public Error {
public:
    Abort() : Error(std::string()) {}
};

// Raises the general error with the text as its message.
[[noreturn]] void RaiseMessage(const std::string& text);

// Replaces the first "%s" of pattern by arg (the message templates carry one each).
std::string FormatText(std::string_view pattern, std::string_view arg);

// The text of the error box for an uncaught error: the message with "." appended, unless it is
// empty or its last character is "." or one that sorts below it ("!", ")", a space ...).
std::string ErrorBoxText(std::string_view message);

}  // namespace kembo
