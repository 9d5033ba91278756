#pragma once

// The Office object of an Office Open XML signature ([MS-OFFCRYPTO] 2.5.2.2): what the signing
// dialog shows and the visible signature line it belongs to. Strings are UTF-8.

#include <libxml/tree.h>
#include <string>
#include <vector>

namespace SBB {

constexpr const char* OfficeDigSigNs = "http://schemas.microsoft.com/office/2006/digsig";

struct SignatureInfoV1 {
    bool included = false;
    std::string setupID;
    std::string signatureText;
    std::vector<unsigned char> signatureImage;
    std::string signatureComments;
    int horizontalResolution = 0;
    int verticalResolution = 0;
    int colorDepth = 0;
    int signatureType = 1; // 1 a plain signature, 2 one with a signature line
    std::string delegateSuggestedSigner;
    std::string delegateSuggestedSigner2;
    std::string delegateSuggestedSignerEmail;
    std::vector<unsigned char> validSignatureLnImage;
    std::vector<unsigned char> invalidSignatureLnImage;
};

// Writes the SignatureInfoV1 element into parent.
void writeSignatureInfoV1(xmlNode* parent, const SignatureInfoV1& info);
// Reads the first SignatureInfoV1 below signature and the signature-line images; "included" when found.
SignatureInfoV1 readSignatureInfoV1(xmlNode* signature);

} // namespace SBB
