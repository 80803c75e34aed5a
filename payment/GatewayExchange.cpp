#include "payment/GatewayExchange.h"

#include "MISCIL/MisCil.h"

namespace zelvo {

int MisCilGateway::Exchange(const char* request) {
    return MisCilExchange(request);
}

int MisCilGateway::LastError() const {
    return MisCilLastError();
}

bool MisCilGateway::RequestSent() const {
    return MisCilRequestSent();
}

const TransRecord* MisCilGateway::Record() const {
    const MisCilContext* context = MisCilGetContext();
    return context ? &context->record : nullptr;
}

}  // namespace zelvo
