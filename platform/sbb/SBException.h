#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace SBB {

// The library's one exception class. Its text carries the error name, message and codes in the
// form every caller embeds in its own messages.
class SBException : public std::runtime_error {
public:
    enum class Kind { Runtime = 1, Library = 2 };

    SBException(Kind kind, std::string name, std::string message, std::uint32_t errorCode,
                std::uint32_t supplErrorCode = 0);
    // A bare text, for the statuses that carry no error details.
    explicit SBException(const std::string& text);

    Kind kind() const { return _kind; }
    const std::string& name() const { return _name; }
    const std::string& message() const { return _message; }
    std::uint32_t errorCode() const { return _errorCode; }
    std::uint32_t supplErrorCode() const { return _supplErrorCode; }

    static std::string formatText(Kind kind, const std::string& name, const std::string& message,
                                  std::uint32_t errorCode, std::uint32_t supplErrorCode);

private:
    Kind _kind = Kind::Library;
    std::string _name;
    std::string _message;
    std::uint32_t _errorCode = 0;
    std::uint32_t _supplErrorCode = 0;
};

// Details of the last failure, as the library reports them next to a status.
struct LastError {
    std::uint32_t code = 0;
    std::uint32_t supplCode = 0;
    std::string name;
    std::string message;
};

// Turns a call status into the exception that stands for it: 0 nothing, 1 runtime and 2 library
// exceptions with the details, 3 to 5 the buffer and parameter texts, anything else "Internal error".
void checkStatus(int status, const LastError& details = {});

} // namespace SBB
