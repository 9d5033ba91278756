#include "platform/sbb/SBException.h"

#include <fmt/format.h>

namespace SBB {

SBException::SBException(Kind kind, std::string name, std::string message, std::uint32_t errorCode,
                         std::uint32_t supplErrorCode)
    : std::runtime_error(formatText(kind, name, message, errorCode, supplErrorCode)), _kind(kind),
      _name(std::move(name)), _message(std::move(message)), _errorCode(errorCode),
      _supplErrorCode(supplErrorCode) {}

SBException::SBException(const std::string& text) : std::runtime_error(text), _message(text) {}

std::string SBException::formatText(Kind kind, const std::string& name, const std::string& message,
                                    std::uint32_t errorCode, std::uint32_t supplErrorCode) {
    std::string text =
        kind == Kind::Runtime ? "SecureBlackbox runtime exception: " : "SecureBlackbox library exception: ";
    text += fmt::format("{}(Message: '{}', ErrorCode: 0x{:08x}", name, message, errorCode);
    if (supplErrorCode != 0)
        text += fmt::format(", SupplErrorCode: 0x{:08x}", supplErrorCode);
    text += ")";
    return text;
}

void checkStatus(int status, const LastError& details) {
    switch (status) {
    case 0:
        return;
    case 1:
    case 2:
        throw SBException(status == 1 ? SBException::Kind::Runtime : SBException::Kind::Library, details.name,
                          details.message, details.code, details.supplCode);
    case 3:
        throw SBException("Insufficient Buffer Size");
    case 4:
        throw SBException("Invalid Buffer Size");
    case 5:
        throw SBException("Insufficient Parameter");
    default:
        throw SBException("Internal error");
    }
}

} // namespace SBB
