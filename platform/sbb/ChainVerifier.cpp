#include "platform/sbb/ChainVerifier.h"

#include <algorithm>
#include <openssl/err.h>
#include <openssl/x509v3.h>

namespace SBB::ChainVerifier {

using namespace OpenSSL;

namespace {

struct Collector {
    const Settings* settings = nullptr;
    const std::vector<Certificate>* trusted = nullptr;
    std::uint32_t reasons = 0;
    bool untrustedSelfSigned = false;
};

bool isTrusted(const Collector& collector, X509* cert) {
    return cert && std::any_of(collector.trusted->begin(), collector.trusted->end(),
                               [cert](const Certificate& c) { return X509_cmp(c.native(), cert) == 0; });
}

int verifyCallback(int ok, X509_STORE_CTX* ctx) {
    if (ok)
        return ok;
    auto& collector = *static_cast<Collector*>(X509_STORE_CTX_get_app_data(ctx));
    const int error = X509_STORE_CTX_get_error(ctx);
    const int depth = X509_STORE_CTX_get_error_depth(ctx);
    const bool timeError = error == X509_V_ERR_CERT_HAS_EXPIRED || error == X509_V_ERR_CERT_NOT_YET_VALID;
    if (timeError && !collector.settings->checkValidityPeriodForTrusted &&
        isTrusted(collector, X509_STORE_CTX_get_current_cert(ctx)))
        return 1;
    // Checking the certificate alone still needs its issuer (problems reported at depth 0), but
    // nothing above it.
    if (!collector.settings->completeChainValidation && depth > 0)
        return 1;
    if (error == X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT || error == X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN)
        collector.untrustedSelfSigned = true;
    collector.reasons |= reasonForVerifyError(error);
    return collector.settings->validateInvalidCertificates ? 1 : 0;
}

// An end certificate that restricts its key usage must allow signing with it.
bool lacksSigningKeyUsage(X509* cert) {
    if (X509_check_ca(cert) != 0)
        return false;
    if ((X509_get_extension_flags(cert) & EXFLAG_KUSAGE) == 0)
        return false;
    return (X509_get_key_usage(cert) & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION)) == 0;
}

} // namespace

std::uint32_t reasonForVerifyError(int error) {
    switch (error) {
    case X509_V_OK:
        return 0;
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return Reason::Expired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return Reason::NotYetValid;
    case X509_V_ERR_CERT_SIGNATURE_FAILURE:
    case X509_V_ERR_UNABLE_TO_DECRYPT_CERT_SIGNATURE:
        return Reason::InvalidSignature;
    case X509_V_ERR_CERT_REVOKED:
        return Reason::Revoked;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_CERT_CHAIN_TOO_LONG:
        return Reason::UnknownCA;
    case X509_V_ERR_INVALID_CA:
    case X509_V_ERR_PATH_LENGTH_EXCEEDED:
    case X509_V_ERR_PROXY_PATH_LENGTH_EXCEEDED:
    case X509_V_ERR_PROXY_CERTIFICATES_NOT_ALLOWED:
        return Reason::CAUnauthorized;
    case X509_V_ERR_KEYUSAGE_NO_CERTSIGN:
    case X509_V_ERR_KEYUSAGE_NO_DIGITAL_SIGNATURE:
    case X509_V_ERR_KEYUSAGE_NO_CRL_SIGN:
    case X509_V_ERR_INVALID_PURPOSE:
        return Reason::NoKeyUsage;
    case X509_V_ERR_CERT_REJECTED:
        return Reason::Blocked;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_EMAIL_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return Reason::IdentityMismatch;
    case X509_V_ERR_UNABLE_TO_GET_CRL:
    case X509_V_ERR_CRL_SIGNATURE_FAILURE:
    case X509_V_ERR_CRL_NOT_YET_VALID:
    case X509_V_ERR_CRL_HAS_EXPIRED:
    case X509_V_ERR_UNABLE_TO_GET_CRL_ISSUER:
        return Reason::CRLNotVerified;
    case X509_V_ERR_EE_KEY_TOO_SMALL:
    case X509_V_ERR_CA_KEY_TOO_SMALL:
    case X509_V_ERR_CA_MD_TOO_WEAK:
        return Reason::WeakCrypto;
    default:
        // Malformed fields, unknown critical extensions, undecodable keys and the like.
        return Reason::BadData;
    }
}

ValidationResult verify(const Certificate& target, const std::vector<Certificate>& trusted,
                        const std::vector<Certificate>& untrusted, std::int64_t moment,
                        const Settings& settings) {
    ValidationResult result;
    if (!target.isLoaded()) {
        result.validity = Validity::Invalid;
        result.reasons = Reason::BadData;
        return result;
    }
    StorePtr store(X509_STORE_new());
    X509StackPtr chain(sk_X509_new_null());
    StoreCtxPtr ctx(X509_STORE_CTX_new());
    if (!store || !chain || !ctx) {
        ERR_clear_error();
        result.validity = Validity::StorageError;
        return result;
    }
    for (const auto& cert : trusted)
        X509_STORE_add_cert(store.get(), cert.native());
    if (settings.useSystemTrust)
        X509_STORE_set_default_paths(store.get());
    for (const auto& cert : untrusted) {
        X509_up_ref(cert.native());
        sk_X509_push(chain.get(), cert.native());
    }
    ERR_clear_error();
    if (X509_STORE_CTX_init(ctx.get(), store.get(), target.native(), chain.get()) != 1) {
        ERR_clear_error();
        result.validity = Validity::StorageError;
        return result;
    }
    Collector collector;
    collector.settings = &settings;
    collector.trusted = &trusted;
    X509_STORE_CTX_set_app_data(ctx.get(), &collector);
    X509_STORE_CTX_set_verify_cb(ctx.get(), verifyCallback);
    X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(ctx.get());
    X509_VERIFY_PARAM_set_time(param, static_cast<time_t>(moment));
    // A certificate handed in as trusted is an anchor, whether or not it is a root.
    X509_VERIFY_PARAM_set_flags(param, X509_V_FLAG_PARTIAL_CHAIN);

    const int verified = X509_verify_cert(ctx.get());
    ERR_clear_error();
    if (verified < 0) {
        result.validity = Validity::ChainUnvalidated;
        return result;
    }
    if (lacksSigningKeyUsage(target.native()))
        collector.reasons |= Reason::NoKeyUsage;
    // Revocation data is never fetched, so a requested revocation check cannot succeed.
    if (settings.checkCRL)
        collector.reasons |= Reason::CRLNotVerified;
    if (settings.checkOCSP)
        collector.reasons |= Reason::OCSPNotVerified;

    result.reasons = collector.reasons;
    if (collector.reasons & ~Reason::UnknownCA)
        result.validity = Validity::Invalid;
    else if (collector.untrustedSelfSigned)
        result.validity = Validity::SelfSigned;
    else if (collector.reasons != 0 || verified != 1)
        result.validity = Validity::Invalid;
    else
        result.validity = Validity::Valid;
    return result;
}

} // namespace SBB::ChainVerifier
