#include "capture/AmountCapture.h"

#include "capture/BitmapFile.h"
#include "capture/CaptureTarget.h"
#include "capture/ScreenCopy.h"
#include "store/CLocalDb.h"
#include "store/RowCallbacks.h"

namespace zelvo {

AmountCapture::AmountCapture(CLocalDb& db, CaptureTarget& target, std::u16string exeDir)
    : m_db(db),
      m_target(target),
      m_reader([exeDir = std::move(exeDir)](const std::string& image, bool preprocess) {
          return ReadAmountFromImage(image, preprocess, exeDir);
      }) {
    std::string flag;
    m_db.ExecuteWithCallback("select Value from SysConfig where Name = 'OpencvFlag'",
                             FirstColumnToText, &flag);
    m_preprocess = flag == "1";
}

bool AmountCapture::LoadRect() {
    std::string text;
    if (!m_db.ExecuteWithCallback("select Value from SysConfig where Name = 'CutRect'",
                                  FirstColumnToText, &text)) {
        m_target.ApplyFocusRule();
        text.clear();
    }
    if (!ParseCutRect(text, m_rect)) {
        m_target.ShowNotice(QStringLiteral("请重新选择截图区域"));
        return false;
    }
    return true;
}

void AmountCapture::CaptureAmount() {
    if (!m_target.AcceptsCapturedAmount()) {
        m_target.ApplyFocusRule();
        return;
    }
    if (!m_rect.HasArea() && !LoadRect()) return;
    if (!m_rect.HasArea()) {
        m_target.ApplyFocusRule();
        return;
    }
    // An earlier capture's files must never stand in for this one's.
    RemoveWorkFiles();
    SaveBitmapFile(CaptureScreenRect(m_rect), kScreenCopyFile);
    TakeResult(m_reader(kScreenCopyFile, m_preprocess));
}

void AmountCapture::TakeResult(const ChainResult& result) {
    switch (result.outcome) {
        case ChainOutcome::PreprocessFailed:
            m_target.ShowNotice(QStringLiteral("图片预处理失败"));
            return;
        case ChainOutcome::ResultMissing:
            m_target.ApplyFocusRule();
            return;
        case ChainOutcome::RecognitionFailed:
        case ChainOutcome::Read:
            break;
    }
    if (result.amount.empty()) {
        m_target.ClearPaymentFields();
        m_target.ApplyFocusRule();
        return;
    }
    m_target.PutAmount(QString::fromStdU16String(result.amount));
}

}  // namespace zelvo
