#pragma once

// Runs a private copy of xpk whose trust store the test chooses: xpk reads
// Resources/CACertificatesStore.pem in the folder of its own (resolved) path, so each test gets a
// folder of its own with a hard link to the built program (a copy where links are not possible).

#include "PluginFixture.h"
#include "TestPki.h"

#include <ctime>
#include <fmt/format.h>
#include <openssl/pem.h>

namespace KX::Testing {

inline std::string aborted(const std::string& message) {
    return "ERROR: " + message + "\nThe command is aborted.\n";
}

class SignTest : public CliTest {
protected:
    SignTest() { installXpk("root.pem"); }

    static const TestPki& pki() { return TestPki::instance(); }
    static std::string pkiFile(const std::string& name) { return pki().path(name); }

    // Places xpk in scratch/bin with a trust store holding the given test PKI file, or none.
    void installXpk(const std::string& trustStore) {
        const fs::path bin = scratch / "bin";
        fs::create_directories(bin / "Resources");
        boost::system::error_code error;
        fs::remove(bin / "xpk", error);
        fs::create_hard_link(XPK_BINARY, bin / "xpk", error);
        if (error)
            fs::copy_file(XPK_BINARY, bin / "xpk");
        fs::remove(bin / "Resources/CACertificatesStore.pem", error);
        if (!trustStore.empty())
            fs::copy_file(pkiFile(trustStore), bin / "Resources/CACertificatesStore.pem");
    }

    CliResult signXpk(const std::vector<std::string>& arguments, CliOptions options = {}) {
        if (options.workingDirectory.empty())
            options.workingDirectory = scratch.path().string();
        return runProgram((scratch / "bin/xpk").string(), arguments, options);
    }

    // `xpk sign` of package with the named test PKI certificate and key.
    CliResult sign(const std::string& package, const std::string& name = "signer",
                   std::vector<std::string> extra = {}, CliOptions options = {}) {
        std::vector<std::string> arguments{"sign", "--package=" + package,
                                           "--certificate=" + pkiFile(name + ".pem"),
                                           "--private-key=" + pkiFile(name + ".key")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return signXpk(arguments, options);
    }

    // The result of `openssl cms -verify` over a detached signature and its content, with the test
    // root as the only anchor.
    CliResult opensslVerify(const std::string& signature, const std::string& content) {
        writeFile(scratch / "check.sig", signature);
        writeFile(scratch / "check.content", content);
        return runProgram(OPENSSL_PROGRAM,
                          {"cms", "-verify", "-binary", "-inform", "DER", "-in",
                           (scratch / "check.sig").string(), "-content", (scratch / "check.content").string(),
                           "-CAfile", pkiFile("root.pem"), "-purpose", "any", "-out", "/dev/null"});
    }

    // The certificate block the sign command prints for a certificate file of the test PKI,
    // composed here from the certificate itself.
    static std::string certificateBlock(const std::string& pemPath, const std::string& commonName,
                                        const std::string& email, const std::string& organization,
                                        const std::string& issuer) {
        BIO* in = BIO_new_file(pemPath.c_str(), "r");
        X509* certificate = PEM_read_bio_X509(in, nullptr, nullptr, nullptr);
        std::tm notAfter{};
        ASN1_TIME_to_tm(X509_get0_notAfter(certificate), &notAfter);
        const ASN1_INTEGER* number = X509_get0_serialNumber(certificate);
        std::string serial;
        for (int i = 0; i < ASN1_STRING_length(number); ++i)
            serial += fmt::format("{}{:02X}", i == 0 ? "" : ":", ASN1_STRING_get0_data(number)[i]);
        X509_free(certificate);
        BIO_free(in);
        char validTo[64];
        std::strftime(validTo, sizeof validTo, "%a %b %d %H:%M:%S %Y", &notAfter);
        return "INFO: Certificate info:\n    S/N: " + serial + "\n    Valid to: " + validTo +
               "\n    Common name: " + commonName + "\n    Email: " + email +
               "\n    Organization: " + organization + "\n    Issuer common name: " + issuer + "\n";
    }

    static std::string signerBlock() {
        return certificateBlock(pkiFile("signer.pem"), "Test Signer", "signer@example.org", "Ordova Test",
                                "Test Root CA");
    }

    static std::string signedLine(const std::string& package) {
        return "INFO: The package '" + package + "' is successfully signed\n";
    }
};

} // namespace KX::Testing
