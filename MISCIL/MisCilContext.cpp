#include "MISCIL/MisCilContext.h"

#include "MISCIL/Connection.h"
#include "MISCIL/MisCil.h"

namespace zelvo {

MisCilContext::MisCilContext()
    : record{},
      requestBitmap{},
      answerBitmap{},
      oigReq{},
      oigRsp{},
      misReq{},
      misRsp{},
      fields{},
      txnBitmaps{},
      misRequestLayout{},
      misResponseLayout{},
      timeout{},
      connection{-1, false, 0},
      cfg(LoadedMisCilCfg()),
      settings(LoadedMisCilSettings()) {}

MisCilContext::~MisCilContext() {
    CloseConnection(*this);
}

void ClearExchangeState(MisCilContext& context) {
    context.record = TransRecord{};
    context.requestBitmap = {};
    context.answerBitmap = {};
    context.oigReq = {};
    context.oigRsp = {};
    context.misReq = {};
    context.misRsp = {};
    context.signDebugText.clear();
}

}  // namespace zelvo
