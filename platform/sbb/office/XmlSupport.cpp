#include "platform/sbb/office/XmlSupport.h"

#include "platform/sbb/SBException.h"
#include "platform/sbb/office/RelationshipTransform.h"

#include <cctype>
#include <ctime>
#include <fmt/format.h>
#include <libxml/parser.h>
#include <libxml/uri.h>
#include <mutex>
#include <openssl/evp.h>
#include <xmlsec/crypto.h>
#include <xmlsec/errors.h>
#include <xmlsec/io.h>
#include <xmlsec/xmlsec.h>
#include <xmlsec/xmltree.h>

namespace SBB::Xml {

namespace {

thread_local EntryResolverScope::Resolver* currentResolver = nullptr;

struct OpenEntry {
    std::vector<unsigned char> bytes;
    std::size_t position = 0;
};

// Every URI is ours: the default file and network readers are never registered.
int matchEntry(const char*) {
    return 1;
}

// Called from xmlsec1's C code: nothing may be thrown through it.
void* openEntry(const char* uri) {
    try {
        auto bytes = resolveEntry(uri);
        if (!bytes)
            return nullptr;
        return new OpenEntry{std::move(*bytes), 0};
    } catch (const std::exception&) {
        return nullptr;
    }
}

int readEntry(void* context, char* buffer, int length) {
    auto* entry = static_cast<OpenEntry*>(context);
    const std::size_t left = entry->bytes.size() - entry->position;
    const std::size_t count = std::min(left, static_cast<std::size_t>(length < 0 ? 0 : length));
    std::copy_n(entry->bytes.data() + entry->position, count, buffer);
    entry->position += count;
    return static_cast<int>(count);
}

int closeEntry(void* context) {
    delete static_cast<OpenEntry*>(context);
    return 0;
}

[[noreturn]] void fail(const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElXMLError", message, 0x8101);
}

// Failures are results and exceptions here; the libraries' own reports would reach the user's
// terminal.
void ignoreXmlsecError(const char*, int, const char*, const char*, const char*, int, const char*) {}
void ignoreGenericError(void*, const char*, ...) {}
void ignoreStructuredError(void*, xmlErrorPtr) {}

void silenceThisThread() {
    xmlSetGenericErrorFunc(nullptr, ignoreGenericError);
    xmlSetStructuredErrorFunc(nullptr, ignoreStructuredError);
}

void startLibraries() {
    xmlInitParser();
    if (xmlSecInit() < 0)
        fail("xmlsec initialisation failed");
    if (xmlSecCheckVersion() != 1)
        fail("xmlsec version mismatch");
    if (xmlSecCryptoAppInit(nullptr) < 0 || xmlSecCryptoInit() < 0)
        fail("xmlsec crypto initialisation failed");
    xmlSecErrorsSetCallback(ignoreXmlsecError);
    registerRelationshipTransform();
    xmlSecIOCleanupCallbacks();
    if (xmlSecIORegisterCallbacks(matchEntry, openEntry, readEntry, closeEntry) < 0)
        fail("xmlsec input registration failed");
}

} // namespace

void initialize() {
    static std::once_flag once;
    std::call_once(once, startLibraries);
    silenceThisThread();
}

DocPtr parse(const std::vector<unsigned char>& bytes) {
    initialize();
    DocPtr doc(xmlReadMemory(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                             nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc || !xmlDocGetRootElement(doc.get()))
        fail("the signature part is not well-formed XML");
    return doc;
}

std::vector<unsigned char> serialize(xmlDoc* doc) {
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &buffer, &size, "UTF-8");
    if (!buffer)
        fail("the signature part cannot be written");
    std::vector<unsigned char> bytes(buffer, buffer + size);
    xmlFree(buffer);
    return bytes;
}

void registerIds(xmlNode* node) {
    static const xmlChar* ids[] = {BAD_CAST "Id", BAD_CAST "ID", nullptr};
    xmlSecAddIDs(node->doc, node, ids);
}

EntryResolverScope::EntryResolverScope(Resolver resolver) {
    initialize();
    currentResolver = new Resolver(std::move(resolver));
}

EntryResolverScope::~EntryResolverScope() {
    delete currentResolver;
    currentResolver = nullptr;
}

std::optional<std::vector<unsigned char>> resolveEntry(const std::string& uri) {
    if (!currentResolver)
        return std::nullopt;
    if (auto bytes = (*currentResolver)(uri))
        return bytes;
    const auto unescaped = unescapeUri(uri);
    if (unescaped != uri)
        return (*currentResolver)(unescaped);
    return std::nullopt;
}

std::string unescapeUri(const std::string& uri) {
    char* unescaped = xmlURIUnescapeString(uri.c_str(), 0, nullptr);
    if (!unescaped)
        return uri;
    std::string result(unescaped);
    xmlFree(unescaped);
    return result;
}

std::string escapeUri(const std::string& name) {
    xmlChar* escaped = xmlURIEscapeStr(BAD_CAST name.c_str(), BAD_CAST "/");
    if (!escaped)
        return name;
    std::string result(reinterpret_cast<const char*>(escaped));
    xmlFree(escaped);
    return result;
}

bool hasLocalName(const xmlNode* node, const char* name) {
    return node && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name);
}

bool is(const xmlNode* node, const char* ns, const char* name) {
    return hasLocalName(node, name) && node->ns && xmlStrEqual(node->ns->href, BAD_CAST ns);
}

xmlNode* firstChild(xmlNode* parent, const char* ns, const char* name) {
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next)
        if (is(child, ns, name))
            return child;
    return nullptr;
}

std::vector<xmlNode*> children(xmlNode* parent, const char* ns, const char* name) {
    std::vector<xmlNode*> found;
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next)
        if (is(child, ns, name))
            found.push_back(child);
    return found;
}

std::vector<xmlNode*> descendantsByLocalName(xmlNode* node, const char* name) {
    std::vector<xmlNode*> found;
    if (!node)
        return found;
    if (hasLocalName(node, name))
        found.push_back(node);
    for (xmlNode* child = node->children; child; child = child->next) {
        auto below = descendantsByLocalName(child, name);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

std::string text(const xmlNode* node) {
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string result = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return result;
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, BAD_CAST name);
    std::string result = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
}

std::string base64Encode(const std::vector<unsigned char>& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(),
                                       static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::vector<unsigned char> base64Decode(const std::string& text) {
    std::string compact;
    for (const char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            compact.push_back(c);
    if (compact.empty() || compact.size() % 4 != 0)
        return {};
    std::vector<unsigned char> out(compact.size() / 4 * 3);
    const int length = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(compact.data()),
                                       static_cast<int>(compact.size()));
    if (length < 0)
        return {};
    std::size_t size = static_cast<std::size_t>(length);
    for (auto it = compact.rbegin(); it != compact.rend() && *it == '='; ++it)
        --size;
    out.resize(size);
    return out;
}

std::optional<std::int64_t> parseDateTime(const std::string& text) {
    int year, month, day, hour, minute, second, used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second,
                    &used) != 6)
        return std::nullopt;
    std::size_t at = static_cast<std::size_t>(used);
    if (at < text.size() && (text[at] == '.' || text[at] == ','))
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));)
            ++at;
    std::int64_t offset = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        int offHour = 0, offMinute = 0;
        if (std::sscanf(text.c_str() + at + 1, "%2d:%2d", &offHour, &offMinute) < 1)
            return std::nullopt;
        offset = (text[at] == '+' ? 1 : -1) * (offHour * 3600 + offMinute * 60);
    }
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&tm)) - offset;
}

std::string formatDateTime(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&time, &tm);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}Z", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                       tm.tm_hour, tm.tm_min, tm.tm_sec);
}

} // namespace SBB::Xml
