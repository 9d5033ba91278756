#include "tools/office-sign/Commands.h"

#include "core/Errors.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/FileStreams.h"
#include "signature/DigitalSignatureProviderFactory.h"
#include "signature/SigningCredentials.h"
#include "signature/TrustStore.h"
#include "tools/office-sign/DocumentFiles.h"
#include "tools/office-sign/SignatureReport.h"

#include <boost/uuid/random_generator.hpp>
#include <ctime>
#include <iostream>

namespace KX::OfficeSign {

using namespace CryptographicEngine;
using namespace CryptographicEngine::DigitalSignature;

namespace {

std::shared_ptr<DigitalSignatureProvider> provider() {
    return createDigitalSignatureProvider(DigitalSignatureProviderType::SecureBlackbox);
}

TrustStoreOpener trustStoreOpener(const ToolOptions& options) {
    if (!options.trustStore)
        return openDefaultTrustStore;
    const std::string path = *options.trustStore;
    return [path]() { return openInputFile(path, "trust store"); };
}

// The trusted roots, loaded as the sign command of the packaging tool loads them: a store that
// does not load stays empty, and every chain then fails instead.
std::unique_ptr<CertificateStorage> loadTrustStore(DigitalSignatureProvider& signatures,
                                                   const ToolOptions& options) {
    auto storage = signatures.createCertificateStorage();
    storage->load(CertificateType::Trusted, CertificateSource(trustStoreOpener(options)()), {});
    return storage;
}

std::vector<SignatureReport> reportsOf(XAdESSignatureManager& manager, const CertificateStorage* trusted) {
    std::vector<SignatureReport> reports;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (auto& info : manager.signatures()) {
        SignatureReport report{info, manager.verifySignature(info.index), std::nullopt};
        if (trusted)
            report.trusted =
                manager.validateCertificate(*trusted, info.index, now).validity == CertificateValidity::Valid;
        reports.push_back(std::move(report));
    }
    return reports;
}

void printReports(const ToolOptions& options, const std::vector<SignatureReport>& reports) {
    if (options.json)
        std::cout << jsonReport(options.document, reports);
    else if (reports.empty())
        std::cout << "INFO: The document '" << options.document << "' carries no signatures\n";
    else
        std::cout << textReport(reports);
    std::cout << std::flush;
}

AdESForm parseForm(const std::string& form) {
    if (form == "XAdES")
        return AdESForm::XAdES;
    if (form == "XAdES_BES")
        return AdESForm::XAdES_BES;
    if (form == "XAdES_T")
        return AdESForm::XAdES_T;
    throw InvalidArgumentError("the signature form '{}' is not one of XAdES, XAdES_BES, XAdES_T", form);
}

SignOptions signOptions(const ToolOptions& options) {
    SignOptions sign{parseForm(options.form), options.tsa, std::nullopt};
    if (options.signatureLineText) {
        SignatureLine line;
        line.text = *options.signatureLineText;
        // A signature that fills a signature line (Office's signature type 2).
        line.type = 1;
        line.id = boost::uuids::random_generator()();
        sign.signatureLine = line;
    }
    return sign;
}

// A document that does not verify is never written: the signed bytes are opened again and the
// new signature checked before anything reaches the disk.
void checkSignedCopy(DigitalSignatureProvider& signatures, const std::string& bytes) {
    ContainerBasedInOutStream<std::string> stream(bytes);
    auto check = signatures.createXAdESSignatureManager(stream);
    const auto infos = check->signatures();
    if (infos.empty())
        throw SigningError("the signed document carries no signature; nothing was written");
    const auto validity = check->verifySignature(infos.back().index);
    if (validity != SignatureValidity::Valid)
        throw SigningError("the signed document does not verify ({}); nothing was written",
                           validityName(validity));
}

// OpenDocument packages start with their stored media type.
bool isOpenDocument(const std::string& bytes) {
    return bytes.find("mimetypeapplication/vnd.oasis.opendocument") != std::string::npos;
}

} // namespace

int listSignatures(const ToolOptions& options) {
    auto document = readDocument(options.document);
    auto manager = provider()->createXAdESSignatureManager(*document);
    printReports(options, reportsOf(*manager, nullptr));
    return 0;
}

int verifySignatures(const ToolOptions& options) {
    auto signatures = provider();
    auto trusted = loadTrustStore(*signatures, options);
    auto document = readDocument(options.document);
    auto manager = signatures->createXAdESSignatureManager(*document);
    const auto reports = reportsOf(*manager, trusted.get());
    printReports(options, reports);
    if (reports.empty())
        return 1;
    for (const auto& report : reports)
        if (report.validity != SignatureValidity::Valid || !report.trusted.value_or(false))
            return 1;
    return 0;
}

int signDocument(const ToolOptions& options) {
    auto signatures = provider();
    const auto sign = signOptions(options);
    auto credentials = loadSigningCredentials(*signatures, {options.certificate}, options.privateKey,
                                              options.passphrase, trustStoreOpener(options));
    auto document = readDocument(options.document);
    auto manager = signatures->createXAdESSignatureManager(*document);
    if (options.signatureLineText && isOpenDocument(contentOf(*document)))
        std::cout
            << "WARNING: OpenDocument signatures have no signature line; --signature-line-text is ignored\n";
    manager->sign(*credentials.trustedCertificates, *credentials.keyStore, sign);
    const auto bytes = contentOf(**manager->signedDocument());
    checkSignedCopy(*signatures, bytes);
    writeDocumentAtomically(options.out, bytes);
    std::cout << "INFO: The document '" << options.document << "' is successfully signed into '"
              << options.out << "'\n"
              << std::flush;
    return 0;
}

int removeSignatures(const ToolOptions& options) {
    auto document = readDocument(options.document);
    auto manager = provider()->createXAdESSignatureManager(*document);
    const auto count = static_cast<int>(manager->signatures().size());
    if (count == 0)
        throw SigningError("the document '{}' is not signed", options.document);
    std::vector<SignatureIndex> indices;
    for (const int index : options.indices) {
        if (index < 0 || index >= count)
            throw InvalidArgumentError("the document '{}' has no signature {}", options.document, index);
        indices.emplace_back(index, SignatureKind::XAdES);
    }
    if (indices.empty())
        for (int index = 0; index < count; ++index)
            indices.emplace_back(index, SignatureKind::XAdES);
    std::sort(indices.begin(), indices.end(),
              [](const SignatureIndex& a, const SignatureIndex& b) { return a.index < b.index; });
    indices.erase(
        std::unique(indices.begin(), indices.end(),
                    [](const SignatureIndex& a, const SignatureIndex& b) { return a.index == b.index; }),
        indices.end());
    manager->removeSignatures(indices);
    writeDocumentAtomically(options.out, contentOf(**manager->signedDocument()));
    std::cout << "INFO: " << indices.size() << " of " << count << " signatures removed from '"
              << options.document << "' into '" << options.out << "'\n"
              << std::flush;
    return 0;
}

} // namespace KX::OfficeSign
