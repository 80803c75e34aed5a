#include "MISCIL/DebugInfo.h"

#include <cstdio>
#include <string>

#include "MISCIL/MisCilContext.h"

namespace zelvo {
namespace {

void PrintField(const char* name, std::string_view value) {
    std::printf("%-18s= %s.\n", name, std::string(value).c_str());
}

template <size_t N>
void PrintBuffer(const char* label, const MessageBuffer<N>& buffer, bool parenthesised) {
    if (buffer.length == 0) return;
    std::printf(parenthesised ? "\n%s[%d]:\n(%s)\n" : "\n%s[%d]:\n%s\n", label,
                static_cast<int>(buffer.length), buffer.text);
}

}  // namespace

void PrintDebugInfo(const MisCilContext& context) {
    const TransRecord& r = context.record;
    std::printf("\n-------------------debug info----------------------\n");
    PrintField("saTxndir", FieldValue(r.saTxndir));
    PrintField("saTxnType", FieldValue(r.saTxnType));
    PrintField("saOrigTxnType", FieldValue(r.saOrigTxnType));
    PrintField("saRespCode", FieldValue(r.saRespCode));
    PrintField("saAcqInsCode", FieldValue(r.saAcqInsCode));
    PrintField("saChannelCode", FieldValue(r.saChannelCode));
    PrintField("saMerCode", FieldValue(r.saMerCode));
    PrintField("saMisTransAmt", FieldValue(r.saMisTransAmt));
    PrintField("saOigTransAmtNum", FieldValue(r.saOigTransAmtNum));
    PrintField("saOigTransAmtStr", FieldValue(r.saOigTransAmtStr));
    std::printf("%-18s= %.2f\n", "dTransAmt", r.dTransAmt);
    PrintField("saGoodsInfo", FieldValue(r.saGoodsInfo));
    PrintField("saChannelOrderNum", FieldValue(r.saChannelOrderNum));
    PrintField("saAcctNum", FieldValue(r.saAcctNum));
    PrintField("saAcctID", FieldValue(r.saAcctID));
    PrintField("saErrDetail", FieldValue(r.saErrDetail));
    PrintField("saOrderNum", FieldValue(r.saOrderNum));
    PrintField("saOrigOrderNum", FieldValue(r.saOrigOrderNum));
    PrintField("saQRCode", FieldValue(r.saQRCode));
    PrintField("saScanCode", FieldValue(r.saScanCode));
    PrintField("saSign", FieldValue(r.saSign));
    PrintField("saChannelDiscount", FieldValue(r.saChannelDiscount));
    PrintField("saMerDiscount", FieldValue(r.saMerDiscount));
    PrintField("saExplain", FieldValue(r.saExplain));
    PrintBuffer("mis req message", context.misReq, true);
    PrintBuffer("mis rsp message", context.misRsp, true);
    PrintBuffer("oig req message", context.oigReq, false);
    PrintBuffer("oig rsp message", context.oigRsp, false);
    std::printf("---------------------------------------------------\n\n");
}

}  // namespace zelvo
