#pragma once

// libxml2 and xmlsec1 as the office signature code uses them: one initialisation per process,
// parsing without network or DTD access, IDs, and the package entries that references name.

#include <functional>
#include <libxml/tree.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace SBB::Xml {

constexpr const char* DSigNs = "http://www.w3.org/2000/09/xmldsig#";
constexpr const char* XAdES132Ns = "http://uri.etsi.org/01903/v1.3.2#";
constexpr const char* XAdES141Ns = "http://uri.etsi.org/01903/v1.4.1#";

struct DocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// Starts libxml2, xmlsec1 and its OpenSSL back end once; references can then read package entries
// only (never files or the network).
void initialize();

// Throws SBException when the bytes are not well-formed XML.
DocPtr parse(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> serialize(xmlDoc* doc);
// Makes every Id attribute below node an ID, so that "#id" references find their target.
void registerIds(xmlNode* node);

// The entries that references outside the signature document read, for the life of the scope
// (one per thread). Names arrive percent-decoded; nullopt is "no such entry".
class EntryResolverScope {
public:
    using Resolver = std::function<std::optional<std::vector<unsigned char>>(const std::string&)>;
    explicit EntryResolverScope(Resolver resolver);
    ~EntryResolverScope();
    EntryResolverScope(const EntryResolverScope&) = delete;
    EntryResolverScope& operator=(const EntryResolverScope&) = delete;
};
// Looks an entry up through the current scope, also under its percent-decoded name.
std::optional<std::vector<unsigned char>> resolveEntry(const std::string& uri);
std::string unescapeUri(const std::string& uri);
std::string escapeUri(const std::string& name);

bool is(const xmlNode* node, const char* ns, const char* name);
bool hasLocalName(const xmlNode* node, const char* name);
xmlNode* firstChild(xmlNode* parent, const char* ns, const char* name);
std::vector<xmlNode*> children(xmlNode* parent, const char* ns, const char* name);
// Depth-first, node included: every element with the local name (any namespace).
std::vector<xmlNode*> descendantsByLocalName(xmlNode* node, const char* name);
std::string text(const xmlNode* node);
std::string attribute(const xmlNode* node, const char* name);

std::string base64Encode(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> base64Decode(const std::string& text);

// ISO 8601 date and time ("2019-08-26T13:02:34Z", fractions and offsets allowed; no offset is
// UTC) as seconds since 1970; nullopt when it does not parse.
std::optional<std::int64_t> parseDateTime(const std::string& text);
std::string formatDateTime(std::int64_t seconds);

} // namespace SBB::Xml
