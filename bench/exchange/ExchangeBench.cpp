// Median time of a complete purchase exchange against the gateway simulator on loopback, and of
// a plain loopback connect, send, receive and close of the same bytes against a minimal peer.
// The ratio is what the library's parsing, signing, logging and slip writing cost on top of
// the network round trip.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/exchange/MinimalPeer.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"
#include "tools/gateway-sim/GatewaySim.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 300;
constexpr int kWarmUp = 20;

double MedianMicros(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

std::string Purchase(int n) {
    std::string request(zelvo::kMisRequestLength, ' ');
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::OrderNum,
                           "BENCH" + std::to_string(n));
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::TxnType, "PURC");
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::ChannelCode, "SCT");
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::MisTransAmt, "12.34");
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::ScanCode, "134567890123456789");
    zelvo::PutMisTextField(request.data(), zelvo::MisRequestField::Currency, "CNY");
    return request;
}

template <typename Step>
double Measure(Step step) {
    std::vector<double> samples;
    for (int i = 0; i < kWarmUp + kRounds; ++i) {
        auto start = Clock::now();
        if (!step(i)) {
            std::fprintf(stderr, "bench: round %d failed\n", i);
            std::exit(1);
        }
        std::chrono::duration<double, std::micro> took = Clock::now() - start;
        if (i >= kWarmUp) samples.push_back(took.count());
    }
    return MedianMicros(samples);
}

}  // namespace

int main() {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "zelvo-bench-exchange";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);

    zelvo::sim::GatewaySim sim(zelvo::sim::SimOptions{.port = 0});
    sim.SetLineSink([](const std::string&) {});
    if (!sim.Start()) return 1;

    zelvo::MisCilCfg cfg;
    cfg.ServerIP = "127.0.0.1";
    cfg.ServerPort = std::to_string(sim.Port());
    cfg.WaitTime = "5";
    cfg.InsCode = "48020000";
    cfg.MerCode = "898310060110001";
    cfg.TermCode = "10000001";
    cfg.Charset = "1";
    cfg.MerKey = zelvo::sim::kDefaultKey;
    cfg.MerName = u"演示商户";
    cfg.PrintMerPage = "1";
    cfg.PrintCustPage = "1";
    zelvo::nLoadCfg(cfg);
    zelvo::MisCilCreateContext();

    std::vector<std::string> requests;
    for (int i = 0; i < kWarmUp + kRounds; ++i) requests.push_back(Purchase(i));
    std::string wireRequest, wireAnswer;
    double exchange = Measure([&](int i) {
        bool ok = zelvo::MisCilExchange(requests[i].c_str()) == 1 &&
                  zelvo::FieldValue(zelvo::MisCilGetContext()->record.saRespCode) == "00";
        if (i == 0) {
            const zelvo::MisCilContext& context = *zelvo::MisCilGetContext();
            wireRequest.assign(context.oigReq.text, context.oigReq.length);
            wireAnswer.assign(context.oigRsp.text, context.oigRsp.length);
        }
        return ok;
    });
    zelvo::MisCilDestroyContext();
    zelvo::CloseExchangeLog();
    sim.Stop();

    zelvo::bench::MinimalPeer peer(wireAnswer);
    double plain =
        Measure([&](int) { return zelvo::bench::PlainRoundTrip(peer.Port(), wireRequest); });

    std::printf("purchase exchange against gateway-sim: median %.1f us (%d rounds)\n", exchange,
                kRounds);
    std::printf("plain loopback round trip, same bytes:  median %.1f us (%d rounds)\n", plain,
                kRounds);
    std::printf("ratio exchange / plain: %.2f\n", exchange / plain);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return 0;
}
