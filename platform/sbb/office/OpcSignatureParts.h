#pragma once

// The package bookkeeping of Office Open XML signatures: the digital-signature origin part, its
// relationships to the signature parts, and their content types.

#include "platform/sbb/office/ZipArchive.h"

#include <string>
#include <vector>

namespace SBB::Opc {

constexpr const char* SignatureContentType =
    "application/vnd.openxmlformats-package.digital-signature-xmlsignature+xml";
constexpr const char* OriginContentType = "application/vnd.openxmlformats-package.digital-signature-origin";

// The name the next signature part gets ("_xmlsignatures/sig1.xml", then sig2, ...). Creates the
// origin part, its relationship from the package and its content type when they are missing.
std::string prepareSignaturePart(ZipArchive& archive);
// Registers the written signature part with the origin and the content types.
void registerSignaturePart(ZipArchive& archive, const std::string& part);
// Removes the part and every mention of it; the origin goes with the last signature.
void removeSignaturePart(ZipArchive& archive, const std::string& part);

} // namespace SBB::Opc
