#pragma once

#include <exception>
#include <string>

namespace brevio {

// Root of the program's failures. The message is locale text (bytes in the
// encoding of the current locale), as the error box expects it.
class Exception : public std::exception
{
public:
    explicit Exception(std::string message);

    const std::string &message() const noexcept { return m_message; }
    const char *what() const noexcept override;

private:
    std::string m_message;
};

// Raised when a text breaks the integer syntax.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace brevio
