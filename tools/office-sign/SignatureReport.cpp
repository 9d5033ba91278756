#include "tools/office-sign/SignatureReport.h"

#include <ctime>
#include <fmt/format.h>

namespace KX::OfficeSign {

using namespace CryptographicEngine::DigitalSignature;

std::string validityName(SignatureValidity validity) {
    static const char* const names[] = {"Valid",
                                        "InvalidSignature",
                                        "UnsignedPart",
                                        "ModifiedPart",
                                        "UnverifiablePart",
                                        "InvalidRelationships",
                                        "UnverifiableEntry",
                                        "SignerNotFound",
                                        "VerificationFailure",
                                        "MissingPart"};
    const auto value = static_cast<std::size_t>(validity);
    return value < std::size(names) ? names[value] : fmt::format("Unknown{}", value);
}

std::string utcText(SigningTime time) {
    const auto seconds = static_cast<std::time_t>(time.time_since_epoch().count() / 10'000'000);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}Z", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                       tm.tm_hour, tm.tm_min, tm.tm_sec);
}

namespace {

std::string trustText(const std::optional<bool>& trusted) {
    if (!trusted)
        return "";
    return *trusted ? "; trusted" : "; not trusted";
}

std::string json(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20)
                out += fmt::format("\\u{:04x}", c);
            else
                out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string jsonLine(const std::optional<SignatureLine>& line) {
    if (!line)
        return "null";
    return fmt::format("{{\"text\": {}, \"type\": {}, \"comments\": {}, \"suggestedSigner\": {}}}",
                       json(line->text), static_cast<int>(line->type), json(line->comments),
                       json(line->suggestedSigner));
}

std::string jsonSignature(const SignatureReport& report) {
    const auto& signer = report.info.signer;
    return fmt::format(
        "{{\"index\": {}, \"kind\": \"XAdES\", \"signer\": {{\"commonName\": {}, \"organization\": {}, "
        "\"issuer\": {}, \"serial\": {}}}, \"signingTime\": {}, \"validity\": {}, "
        "\"validityName\": {}, \"trusted\": {}, \"signatureLine\": {}}}",
        report.info.index.index, json(signer.subject.commonName), json(signer.subject.organization),
        json(signer.issuer.commonName), json(signer.serialNumber), json(utcText(report.info.signingTime)),
        static_cast<int>(report.validity), json(validityName(report.validity)),
        report.trusted ? (*report.trusted ? "true" : "false") : "null", jsonLine(report.info.signatureLine));
}

} // namespace

std::string textReport(const std::vector<SignatureReport>& reports) {
    std::string out;
    for (const auto& report : reports) {
        const auto& signer = report.info.signer;
        out +=
            fmt::format("#{} signer \"{}\", organization \"{}\", issuer \"{}\", serial {}; signed {}; {}{}",
                        report.info.index.index, signer.subject.commonName, signer.subject.organization,
                        signer.issuer.commonName, signer.serialNumber, utcText(report.info.signingTime),
                        validityName(report.validity), trustText(report.trusted));
        if (report.info.signatureLine)
            out += fmt::format("; signature line \"{}\", type {}", report.info.signatureLine->text,
                               static_cast<int>(report.info.signatureLine->type));
        out += "\n";
    }
    return out;
}

std::string jsonReport(const std::string& file, const std::vector<SignatureReport>& reports) {
    std::string out = fmt::format("{{\"file\": {}, \"signatures\": [", json(file));
    for (std::size_t i = 0; i < reports.size(); ++i)
        out += (i ? ", " : "") + jsonSignature(reports[i]);
    return out + "]}\n";
}

} // namespace KX::OfficeSign
