#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include <algorithm>
#include <string>

#include "MISCIL/Connection.h"
#include "MISCIL/MisCil.h"
#include "tests/MISCIL/GatewayTestSupport.h"

namespace zelvo {
namespace {

using test::DemoCfg;
using test::LibraryEnv;
using test::ScriptedPeer;

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string Framed(const std::string& body) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04zu", body.size());
    return prefix + body;
}

// A refusal (no signature check, no slip) whose body is exactly `size` bytes (107 to 171).
std::string RefusalOfSize(size_t size) {
    std::string head =
        "{\"txndir\":\"A\",\"busicd\":\"PURC\",\"respcd\":\"05\",\"inscd\":\"1\","
        "\"mchntid\":\"M\",\"txamt\":\"000000000100\",\"orderNum\":\"";
    return Framed(head + std::string(size - head.size() - 2, 'o') + "\"}");
}

std::vector<ScriptedPeer::Step> InPieces(const std::string& bytes, size_t piece) {
    std::vector<ScriptedPeer::Step> steps;
    for (size_t at = 0; at < bytes.size(); at += piece)
        steps.push_back({bytes.substr(at, piece), 5});
    return steps;
}

TEST(Exchange, A125ByteBodyIsOneMessageInOnePieceOrInSeveral) {
    std::string frame = RefusalOfSize(125);
    ASSERT_EQ(frame.substr(0, 4), "0125");
    for (size_t piece : {frame.size() + 0, size_t{3}, size_t{50}}) {
        SCOPED_TRACE(piece);
        // Bytes after the announced length are not part of the message.
        ScriptedPeer peer(InPieces(frame + "trailing", piece));
        LibraryEnv env(DemoCfg(peer.Port()));
        ASSERT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 1);
        EXPECT_EQ(MisCilLastError(), 0);
        EXPECT_EQ(env.Context().oigRsp.length, 129u);
        EXPECT_STREQ(env.Context().record.saRespCode, "05");
        ASSERT_EQ(peer.Requests().size(), 1u);
        EXPECT_EQ(peer.Requests()[0].substr(4, 14), "{\"txndir\":\"Q\",");
    }
}

TEST(Exchange, ASilentPeerEndsInTheTimeout) {
    ScriptedPeer peer({}, /*holdOpen=*/true);
    LibraryEnv env(test::QuickTimeoutCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Timeout);
    EXPECT_TRUE(MisCilRequestSent());
    EXPECT_STREQ(env.Context().record.saRespCode, "98");
    EXPECT_NE(env.Log().find("[0866] chn:SCT, txn:PURC, mer:898310060110001, order:O1, "
                             "errorDetail:, err: 1, info:txn timeout.\n"),
              std::string::npos);
}

TEST(Exchange, APeerThatClosesInMidFrameAlsoEndsInTheTimeout) {
    std::string frame = RefusalOfSize(125);
    ScriptedPeer peer({{frame.substr(0, 60), 0}});
    LibraryEnv env(test::QuickTimeoutCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Timeout);
    EXPECT_STREQ(env.Context().record.saRespCode, "98");
}

TEST(Exchange, AFrameLongerThanTheBufferIsReadOffAndRefused) {
    std::string body = "{\"respcd\":\"00\",\"errorDetail\":\"" + std::string(1468, 'x') + "\"}";
    ScriptedPeer peer(InPieces(Framed(body), 700));
    LibraryEnv env(DemoCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::BadAnswer);
    EXPECT_TRUE(MisCilRequestSent());
    EXPECT_NE(env.Log().find("err:10, info:call nUnpackOIGRsp failed."), std::string::npos);
    EXPECT_EQ(env.Context().oigRsp.length, 0u);
}

TEST(Exchange, ARefusedConnectionIsTriedThreeTimes) {
    LibraryEnv env(DemoCfg(test::ClosedPort()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Connect);
    EXPECT_FALSE(MisCilRequestSent());
    EXPECT_EQ(Count(env.Log(), "[1550]"), 3u);
    EXPECT_EQ(Count(env.Log(), "err:14, info:call CConnect failed."), 3u);
}

TEST(Exchange, RequestsThatCannotBeReadOrPackedFailBeforeConnecting) {
    LibraryEnv env(DemoCfg(test::ClosedPort()));
    EXPECT_EQ(MisCilExchange(nullptr), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::NoRequest);
    EXPECT_EQ(MisCilExchange("short"), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::ShortRequest);

    testing::internal::CaptureStdout();
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "12.345").c_str()), 0);
    std::string dump = testing::internal::GetCapturedStdout();
    EXPECT_EQ(MisCilLastError(), MisCilError::AmountDecimals);
    EXPECT_FALSE(MisCilRequestSent());
    EXPECT_NE(env.Log().find("[1541]"), std::string::npos);
    EXPECT_EQ(env.Log().find("[1550]"), std::string::npos);
    EXPECT_NE(dump.find("-------------------debug info----------------------\n"),
              std::string::npos);
    EXPECT_NE(dump.find("saMisTransAmt     = 12.345.\n"), std::string::npos);
    EXPECT_NE(dump.find("dTransAmt         = 0.00\n"), std::string::npos);
    EXPECT_NE(dump.find("\nmis req message[716]:\n("), std::string::npos);
}

class HostNameExchange : public testing::Test {
protected:
    void SetUp() override {
        SetHostNameResolver([this](const std::string& name, std::uint32_t& address) {
            m_asked.push_back(name);
            if (name != "gateway.test") return false;
            address = htonl(INADDR_LOOPBACK);
            return true;
        });
    }
    void TearDown() override { SetHostNameResolver(nullptr); }

    std::vector<std::string> m_asked;
};

TEST_F(HostNameExchange, ANameIsResolvedOnceAndADottedAddressNever) {
    ScriptedPeer peer({{RefusalOfSize(125), 0}});
    MisCilCfg cfg = DemoCfg(peer.Port());
    cfg.ServerIP = "gateway.test";
    {
        LibraryEnv env(cfg);
        EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 1);
        EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O2", "1.00").c_str()), 1);
        EXPECT_EQ(m_asked, std::vector<std::string>{"gateway.test"});
    }
    LibraryEnv env(DemoCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O3", "1.00").c_str()), 1);
    EXPECT_EQ(m_asked.size(), 1u);
}

TEST_F(HostNameExchange, AFailedResolutionLeavesLaterExchangesWorking) {
    ScriptedPeer peer({{RefusalOfSize(125), 0}});
    MisCilCfg cfg = DemoCfg(peer.Port());
    cfg.ServerIP = "unknown.test";
    LibraryEnv env(cfg);
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Resolve);
    EXPECT_EQ(Count(env.Log(), "err:19, info:call CConnect failed."), 3u);

    ASSERT_EQ(nLoadCfg(DemoCfg(peer.Port())), 0);
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O2", "1.00").c_str()), 1);
    EXPECT_STREQ(env.Context().record.saRespCode, "05");
}

// A "00" answer whose signature does not verify: completed, logged and marked.
std::string BadlySignedSuccess(const std::string& errorDetail) {
    std::string body =
        "{\"txndir\":\"A\",\"busicd\":\"PURC\",\"respcd\":\"00\",\"inscd\":\"48020000\","
        "\"chcd\":\"WXP\",\"mchntid\":\"898310060110001\",\"txamt\":\"000000000100\","
        "\"orderNum\":\"O1\",";
    if (!errorDetail.empty()) body += "\"errorDetail\":\"" + errorDetail + "\",";
    return Framed(body + "\"sign\":\"" + std::string(40, '0') + "\"}");
}

TEST(Exchange, AFailedSignatureCheckIsLoggedAndMarkedAsFarAsTheFieldHasRoom) {
    ScriptedPeer peer({{BadlySignedSuccess(""), 0}});
    LibraryEnv env(DemoCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 1);
    EXPECT_STREQ(env.Context().record.saErrDetail, "&RSP_AUTH_NO_ERROR");
    EXPECT_NE(env.Log().find("[1597]"), std::string::npos);
    EXPECT_NE(env.Log().find("err:17, info:call nCheckSign failed from Rsp."), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(env.Dir() / "SCprint.txt"));
}

TEST(Exchange, AMarkThatDoesNotFitIsCutInsteadOfOverrunningTheField) {
    ScriptedPeer peer({{BadlySignedSuccess(std::string(510, 'e')), 0}});
    LibraryEnv env(DemoCfg(peer.Port()));
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 1);
    std::string detail = env.Context().record.saErrDetail;
    EXPECT_EQ(detail, std::string(510, 'e') + "&R");
    EXPECT_STREQ(env.Context().record.saSign, std::string(40, '0').c_str());
}

TEST(Exchange, ServerPortThatIsNotANumberIsLoggedAndLeavesThePortUnusable) {
    MisCilCfg cfg = DemoCfg();
    cfg.ServerPort = "17a01";
    LibraryEnv env(cfg);
    EXPECT_NE(env.Log().find("[1475]"), std::string::npos);
    EXPECT_NE(env.Log().find("err:11, info:服务端口 config err."), std::string::npos);
    EXPECT_EQ(MisCilExchange(test::PurchaseRequest("O1", "1.00").c_str()), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Connect);
}

}  // namespace
}  // namespace zelvo
