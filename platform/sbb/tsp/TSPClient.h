#pragma once

#include <vector>

namespace SBB {

// Results of TSPClient::timestamp besides 0 (a token was granted).
namespace TSPResult {
constexpr int Ok = 0;
constexpr int Rejected = 0x7001;  // the server answered, but did not grant a time-stamp
constexpr int Mismatch = 0x7002;  // the token does not stamp what was asked for (imprint, nonce)
constexpr int Malformed = 0x7003; // the answer is not a time-stamp response
} // namespace TSPResult

// Obtains RFC 3161 time-stamp tokens.
class TSPClient {
public:
    virtual ~TSPClient() = default;
    // Asks for a token over the digest of data. Returns TSPResult::Ok and the token (a DER
    // ContentInfo), or another TSPResult with failureText() saying why. Transport failures throw
    // SBException.
    virtual int timestamp(const std::vector<unsigned char>& data, std::vector<unsigned char>& token) = 0;
    virtual const char* failureText() const = 0;
};

} // namespace SBB
