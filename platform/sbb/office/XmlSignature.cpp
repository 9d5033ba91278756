#include "platform/sbb/office/XmlSignature.h"

#include "platform/sbb/OpenSSLHandles.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/office/XmlSupport.h"

#include <libxml/c14n.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <map>
#include <openssl/pkcs7.h>
#include <openssl/ts.h>
#include <xmlsec/keys.h>
#include <xmlsec/nodeset.h>
#include <xmlsec/openssl/evp.h>
#include <xmlsec/transforms.h>
#include <xmlsec/xmldsig.h>

namespace SBB {

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElXMLSignatureError", message, 0x8201);
}

struct KeyDeleter {
    void operator()(xmlSecKey* key) const { xmlSecKeyDestroy(key); }
};
using KeyPtr = std::unique_ptr<xmlSecKey, KeyDeleter>;

struct DSigCtxDeleter {
    void operator()(xmlSecDSigCtx* ctx) const { xmlSecDSigCtxDestroy(ctx); }
};
using DSigCtxPtr = std::unique_ptr<xmlSecDSigCtx, DSigCtxDeleter>;

struct TransformCtxDeleter {
    void operator()(xmlSecTransformCtx* ctx) const { xmlSecTransformCtxDestroy(ctx); }
};

// xmlsec1 takes the key over; it gets a reference of its own.
KeyPtr makeKey(EVP_PKEY* pkey) {
    if (!pkey)
        return nullptr;
    EVP_PKEY_up_ref(pkey);
    xmlSecKeyDataPtr data = xmlSecOpenSSLEvpKeyAdopt(pkey);
    if (!data) {
        EVP_PKEY_free(pkey);
        return nullptr;
    }
    KeyPtr key(xmlSecKeyCreate());
    if (!key || xmlSecKeySetValue(key.get(), data) < 0) {
        xmlSecKeyDataDestroy(data);
        return nullptr;
    }
    return key;
}

KeyPtr publicKeyOf(const Certificate& certificate) {
    OpenSSL::PKeyPtr pkey(X509_get_pubkey(certificate.native()));
    return makeKey(pkey.get());
}

bool signatureValueVerifies(xmlNode* signature, xmlSecKey* key) {
    xmlNode* signedInfo = Xml::firstChild(signature, Xml::DSigNs, "SignedInfo");
    xmlNode* value = Xml::firstChild(signature, Xml::DSigNs, "SignatureValue");
    xmlNode* c14nNode = Xml::firstChild(signedInfo, Xml::DSigNs, "CanonicalizationMethod");
    xmlNode* methodNode = Xml::firstChild(signedInfo, Xml::DSigNs, "SignatureMethod");
    if (!signedInfo || !value || !c14nNode || !methodNode)
        return false;
    std::unique_ptr<xmlSecTransformCtx, TransformCtxDeleter> ctx(xmlSecTransformCtxCreate());
    if (!ctx)
        return false;
    if (!xmlSecTransformCtxNodeRead(ctx.get(), c14nNode, xmlSecTransformUsageC14NMethod))
        return false;
    xmlSecTransformPtr method =
        xmlSecTransformCtxNodeRead(ctx.get(), methodNode, xmlSecTransformUsageSignatureMethod);
    if (!method)
        return false;
    method->operation = xmlSecTransformOperationVerify;
    if (xmlSecTransformSetKey(method, key) < 0)
        return false;
    xmlSecNodeSetPtr nodes = xmlSecNodeSetGetChildren(signature->doc, signedInfo, 1, 0);
    if (!nodes)
        return false;
    const int executed = xmlSecTransformCtxXmlExecute(ctx.get(), nodes);
    xmlSecNodeSetDestroy(nodes);
    if (executed < 0)
        return false;
    if (xmlSecTransformVerifyNodeContent(method, value, ctx.get()) < 0)
        return false;
    return method->status == xmlSecTransformStatusOk;
}

DSigCtxPtr verifyContext() {
    DSigCtxPtr ctx(xmlSecDSigCtxCreate(nullptr));
    if (!ctx)
        fail("cannot create the signature context");
    ctx->operation = xmlSecTransformOperationVerify;
    ctx->enabledReferenceUris = static_cast<xmlSecTransformUriType>(
        xmlSecTransformUriTypeEmpty | xmlSecTransformUriTypeSameDocument | xmlSecTransformUriTypeRemote);
    return ctx;
}

ReferenceCheck checkReference(xmlSecDSigCtx* dsig, xmlNode* reference, xmlSecDSigReferenceOrigin origin) {
    ReferenceCheck check;
    check.uri = Xml::attribute(reference, "URI");
    check.sameDocument = check.uri.empty() || check.uri.front() == '#';
    if (!check.sameDocument) {
        // The part name is what counts: the query of an Office Open XML part reference is its type.
        const auto name = check.uri.substr(0, check.uri.find('?'));
        if (!Xml::resolveEntry(name)) {
            check.outcome = ReferenceOutcome::NotFound;
            return check;
        }
    }
    xmlSecDSigReferenceCtxPtr ctx = xmlSecDSigReferenceCtxCreate(dsig, origin);
    if (!ctx)
        fail("cannot create the reference context");
    const int processed = xmlSecDSigReferenceCtxProcessNode(ctx, reference);
    if (processed < 0)
        check.outcome = ReferenceOutcome::Unverifiable;
    else
        check.outcome = ctx->status == xmlSecDSigStatusSucceeded ? ReferenceOutcome::Valid
                                                                 : ReferenceOutcome::DigestMismatch;
    xmlSecDSigReferenceCtxDestroy(ctx);
    return check;
}

void addCertificate(MemoryCertStorage& store, const std::string& base64) {
    const auto der = Xml::base64Decode(base64);
    if (der.empty())
        return;
    const unsigned char* p = der.data();
    OpenSSL::X509Ptr x509(d2i_X509(nullptr, &p, static_cast<long>(der.size())));
    if (!x509)
        return;
    Certificate certificate(std::move(x509));
    for (const auto& known : store.certificates())
        if (known.sameAs(certificate))
            return;
    store.add(certificate, false);
}

} // namespace

MemoryCertStorage carriedCertificates(xmlNode* signature) {
    MemoryCertStorage store;
    xmlNode* keyInfo = Xml::firstChild(signature, Xml::DSigNs, "KeyInfo");
    for (xmlNode* data : Xml::children(keyInfo, Xml::DSigNs, "X509Data"))
        for (xmlNode* cert : Xml::children(data, Xml::DSigNs, "X509Certificate"))
            addCertificate(store, Xml::text(cert));
    for (xmlNode* object : Xml::children(signature, Xml::DSigNs, "Object"))
        for (xmlNode* cert : Xml::descendantsByLocalName(object, "EncapsulatedX509Certificate"))
            addCertificate(store, Xml::text(cert));
    return store;
}

SignatureCheck checkSignature(xmlNode* signature) {
    SignatureCheck check;
    const auto candidates = carriedCertificates(signature);
    for (const auto& certificate : candidates.certificates()) {
        auto key = publicKeyOf(certificate);
        if (key && signatureValueVerifies(signature, key.get())) {
            check.signatureValueValid = true;
            check.signer = certificate;
            break;
        }
    }
    if (!check.signer && candidates.count() > 0)
        check.signer = candidates.certificate(0);

    auto ctx = verifyContext();
    xmlNode* signedInfo = Xml::firstChild(signature, Xml::DSigNs, "SignedInfo");
    for (xmlNode* reference : Xml::children(signedInfo, Xml::DSigNs, "Reference"))
        check.references.push_back(checkReference(ctx.get(), reference, xmlSecDSigReferenceOriginSignedInfo));
    return check;
}

std::vector<ReferenceCheck> checkManifestReferences(xmlNode*, xmlNode* manifest) {
    auto ctx = verifyContext();
    std::vector<ReferenceCheck> checks;
    for (xmlNode* reference : Xml::children(manifest, Xml::DSigNs, "Reference"))
        checks.push_back(checkReference(ctx.get(), reference, xmlSecDSigReferenceOriginManifest));
    return checks;
}

void digestManifest(xmlNode* manifest) {
    if (!manifest)
        fail("the signature has no manifest");
    DSigCtxPtr ctx(xmlSecDSigCtxCreate(nullptr));
    if (!ctx)
        fail("cannot create the signature context");
    ctx->operation = xmlSecTransformOperationSign;
    ctx->enabledReferenceUris = static_cast<xmlSecTransformUriType>(
        xmlSecTransformUriTypeEmpty | xmlSecTransformUriTypeSameDocument | xmlSecTransformUriTypeRemote);
    for (xmlNode* reference : Xml::children(manifest, Xml::DSigNs, "Reference")) {
        xmlSecDSigReferenceCtxPtr refCtx =
            xmlSecDSigReferenceCtxCreate(ctx.get(), xmlSecDSigReferenceOriginManifest);
        if (!refCtx)
            fail("cannot create the reference context");
        const int processed = xmlSecDSigReferenceCtxProcessNode(refCtx, reference);
        xmlSecDSigReferenceCtxDestroy(refCtx);
        if (processed < 0)
            fail("the digest of " + Xml::attribute(reference, "URI") + " cannot be computed");
    }
}

void signTemplate(xmlNode* signature, const Certificate& signer) {
    DSigCtxPtr ctx(xmlSecDSigCtxCreate(nullptr));
    if (!ctx)
        fail("cannot create the signature context");
    ctx->flags |= XMLSEC_DSIG_FLAGS_IGNORE_MANIFESTS;
    ctx->enabledReferenceUris = static_cast<xmlSecTransformUriType>(
        xmlSecTransformUriTypeEmpty | xmlSecTransformUriTypeSameDocument | xmlSecTransformUriTypeRemote);
    ctx->signKey = makeKey(signer.privateKey()).release();
    if (!ctx->signKey)
        fail("the signing key cannot be used");
    if (xmlSecDSigCtxSign(ctx.get(), signature) < 0 || ctx->status != xmlSecDSigStatusSucceeded)
        fail("xmlsec could not compute the signature");
}

std::vector<unsigned char> canonicalSignatureValue(xmlNode* signature) {
    return canonicalSignatureValue(signature, C14NUri);
}

std::vector<unsigned char> canonicalSignatureValue(xmlNode* signature, const std::string& algorithm) {
    static const std::map<std::string, std::pair<int, int>> modes{
        {C14NUri, {XML_C14N_1_0, 0}},
        {"http://www.w3.org/TR/2001/REC-xml-c14n-20010315#WithComments", {XML_C14N_1_0, 1}},
        {"http://www.w3.org/2006/12/xml-c14n11", {XML_C14N_1_1, 0}},
        {"http://www.w3.org/2006/12/xml-c14n11#WithComments", {XML_C14N_1_1, 1}},
        {"http://www.w3.org/2001/10/xml-exc-c14n#", {XML_C14N_EXCLUSIVE_1_0, 0}},
        {"http://www.w3.org/2001/10/xml-exc-c14n#WithComments", {XML_C14N_EXCLUSIVE_1_0, 1}},
    };
    const auto mode = modes.find(algorithm);
    if (mode == modes.end())
        return {};
    xmlNode* value = Xml::firstChild(signature, Xml::DSigNs, "SignatureValue");
    if (!value)
        fail("the signature has no value");
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> xpath(xmlXPathNewContext(signature->doc),
                                                                           xmlXPathFreeContext);
    if (!xpath)
        fail("cannot canonicalise the signature value");
    xpath->node = value;
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> selected(
        xmlXPathEvalExpression(BAD_CAST "(. | .//node() | .//@* | .//namespace::*)", xpath.get()),
        xmlXPathFreeObject);
    if (!selected || !selected->nodesetval)
        fail("cannot canonicalise the signature value");
    xmlChar* out = nullptr;
    const int size =
        xmlC14NDocDumpMemory(signature->doc, selected->nodesetval, XML_C14N_1_0, nullptr, 0, &out);
    if (size < 0 || !out)
        fail("cannot canonicalise the signature value");
    std::vector<unsigned char> bytes(out, out + size);
    xmlFree(out);
    return bytes;
}

namespace {

// The message imprint of a DER time-stamp token: its digest algorithm and value.
bool tokenImprint(const std::vector<unsigned char>& der, const EVP_MD*& md,
                  std::vector<unsigned char>& digest) {
    const unsigned char* p = der.data();
    PKCS7* token = d2i_PKCS7(nullptr, &p, static_cast<long>(der.size()));
    TS_TST_INFO* info = token ? PKCS7_to_TS_TST_INFO(token) : nullptr;
    bool found = false;
    if (info) {
        const TS_MSG_IMPRINT* imprint = TS_TST_INFO_get_msg_imprint(info);
        const ASN1_OCTET_STRING* value = TS_MSG_IMPRINT_get_msg(const_cast<TS_MSG_IMPRINT*>(imprint));
        const X509_ALGOR* algorithm = TS_MSG_IMPRINT_get_algo(const_cast<TS_MSG_IMPRINT*>(imprint));
        md = EVP_get_digestbyobj(algorithm->algorithm);
        digest.assign(ASN1_STRING_get0_data(value), ASN1_STRING_get0_data(value) + ASN1_STRING_length(value));
        found = md != nullptr;
    }
    TS_TST_INFO_free(info);
    PKCS7_free(token);
    return found;
}

} // namespace

bool signatureTimeStampsMatch(xmlNode* signature) {
    for (xmlNode* stamp : Xml::descendantsByLocalName(signature, "SignatureTimeStamp")) {
        xmlNode* method = Xml::firstChild(stamp, Xml::DSigNs, "CanonicalizationMethod");
        const auto canonical = canonicalSignatureValue(signature, method ? Xml::attribute(method, "Algorithm")
                                                                         : std::string(C14NUri));
        for (xmlNode* token : Xml::descendantsByLocalName(stamp, "EncapsulatedTimeStamp")) {
            const EVP_MD* md = nullptr;
            std::vector<unsigned char> stamped;
            if (canonical.empty() || !tokenImprint(Xml::base64Decode(Xml::text(token)), md, stamped))
                return false;
            unsigned char digest[EVP_MAX_MD_SIZE];
            unsigned int size = 0;
            if (EVP_Digest(canonical.data(), canonical.size(), digest, &size, md, nullptr) != 1 ||
                stamped != std::vector<unsigned char>(digest, digest + size))
                return false;
        }
    }
    return true;
}

const char* signatureMethodFor(const Certificate& signer) {
    EVP_PKEY* key = signer.privateKey();
    if (key && EVP_PKEY_is_a(key, "EC"))
        return "http://www.w3.org/2001/04/xmldsig-more#ecdsa-sha256";
    return "http://www.w3.org/2001/04/xmldsig-more#rsa-sha256";
}

} // namespace SBB
