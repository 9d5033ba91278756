#pragma once

#include <fmt/format.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace KX {

// Root of every expected failure. Two ways of construction: a plain message taken as is, or a
// fmt format with arguments (a Path argument renders quoted, see core/Path.h).
class BaseRuntimeError : public std::runtime_error {
public:
    explicit BaseRuntimeError(const std::string& message) : std::runtime_error(message) {}
    explicit BaseRuntimeError(const char* message) : std::runtime_error(message) {}

    template <typename Arg, typename... Args>
    BaseRuntimeError(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args)
        : std::runtime_error(fmt::format(format, std::forward<Arg>(arg), std::forward<Args>(args)...)) {}
};

#define KX_DECLARE_ERROR(Name, Base)                                                                         \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    }

KX_DECLARE_ERROR(BadNumCastError, BaseRuntimeError);
KX_DECLARE_ERROR(InvalidArgumentError, BaseRuntimeError);
KX_DECLARE_ERROR(BrokenFileError, BaseRuntimeError);
KX_DECLARE_ERROR(IOError, BaseRuntimeError);
KX_DECLARE_ERROR(MakePackageError, BaseRuntimeError);
KX_DECLARE_ERROR(SystemError, BaseRuntimeError);

namespace PluginAPI {
KX_DECLARE_ERROR(PackageDigestError, BaseRuntimeError);
} // namespace PluginAPI

namespace CryptographicEngine {
KX_DECLARE_ERROR(SecurityError, BaseRuntimeError);
KX_DECLARE_ERROR(SigningError, SecurityError);
KX_DECLARE_ERROR(VerifySignatureError, SecurityError);
KX_DECLARE_ERROR(PackageSignatureError, SecurityError);
KX_DECLARE_ERROR(WrongPasswordError, SecurityError);
KX_DECLARE_ERROR(UnsupportedAlgorithmError, SecurityError);
KX_DECLARE_ERROR(InvalidDataError, SecurityError);
KX_DECLARE_ERROR(InternalSecurityError, SecurityError);
KX_DECLARE_ERROR(CryptoProviderNotAvailableError, SecurityError);

namespace DigitalSignature {
KX_DECLARE_ERROR(SignatureRuntimeError, SecurityError);
namespace Tarnwell {
KX_DECLARE_ERROR(UIModuleIsNotAvailableError, SecurityError);
} // namespace Tarnwell
} // namespace DigitalSignature
} // namespace CryptographicEngine

#undef KX_DECLARE_ERROR

// Thrown by the default fatal-error handler; deliberately outside the BaseRuntimeError family so
// that handlers of expected failures do not swallow broken invariants.
class AbortException : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

} // namespace KX
