#pragma once

#include <optional>
#include <string>
#include <vector>

namespace KX::OfficeSign {

inline constexpr const char* banner = "Ordova Office Document Signing Tool";
inline constexpr const char* version = "2.6E";

struct ToolOptions {
    std::string document;
    std::string out;
    std::string certificate;
    std::string privateKey;
    std::optional<std::string> passphrase;
    std::optional<std::string> trustStore; // default: the one beside the program
    std::string form = "XAdES_BES";
    std::optional<std::string> tsa;
    std::optional<std::string> signatureLineText;
    std::vector<int> indices;
    bool json = false;
};

// Each writes its report to standard output and returns the exit status; failures are exceptions.
int listSignatures(const ToolOptions& options);
int verifySignatures(const ToolOptions& options);
int signDocument(const ToolOptions& options);
int removeSignatures(const ToolOptions& options);

} // namespace KX::OfficeSign
