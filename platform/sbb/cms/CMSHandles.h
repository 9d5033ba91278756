#pragma once

#include "platform/sbb/OpenSSLHandles.h"

#include <openssl/cms.h>
#include <openssl/ts.h>

namespace SBB::OpenSSL {

using CMSPtr = std::unique_ptr<CMS_ContentInfo, Deleter<CMS_ContentInfo, CMS_ContentInfo_free>>;
using TSReqPtr = std::unique_ptr<TS_REQ, Deleter<TS_REQ, TS_REQ_free>>;
using TSRespPtr = std::unique_ptr<TS_RESP, Deleter<TS_RESP, TS_RESP_free>>;
using TSVerifyCtxPtr = std::unique_ptr<TS_VERIFY_CTX, Deleter<TS_VERIFY_CTX, TS_VERIFY_CTX_free>>;

} // namespace SBB::OpenSSL
