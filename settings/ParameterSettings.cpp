#include "settings/ParameterSettings.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "base/Text.h"
#include "settings/PrintChoice.h"
#include "settings/SettingsView.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr std::string_view kAdministratorId = "00";
constexpr size_t kMaxFieldChars = kMaxSettingChars;

bool AllOf(std::u16string_view text, bool (*accept)(char16_t)) {
    for (char16_t c : text) {
        if (!accept(c)) return false;
    }
    return true;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsLetterOrDigit(char16_t c) {
    return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The merchant, terminal and key boxes lose surrounding spaces and line feeds before their
// checks; a tab or carriage return stays and fails them.
std::u16string TrimSpacesAndLineFeeds(const std::u16string& text) {
    const size_t first = text.find_first_not_of(u" \n");
    if (first == std::u16string::npos) return {};
    return text.substr(first, text.find_last_not_of(u" \n") - first + 1);
}

std::u16string BoundedField(const std::u16string& text) {
    return text.size() > kMaxFieldChars ? text.substr(0, kMaxFieldChars) : text;
}

// Stored 8-bit in the system code page, without surrounding blanks.
std::string CodePageTrimmed(const std::u16string& text) {
    return TrimWhitespace(Utf16ToGbk(BoundedField(text)));
}

// The stored text of a key; none when it cannot be read.
std::optional<std::string> ReadStored(CLocalDb* db, const char* key) {
    SqlRows result;
    if (!db ||
        !db->Query("select Value  from SysConfig where Name = ?", {std::string(key)}, result) ||
        result.rows.empty()) {
        return std::nullopt;
    }
    return Bounded(result.rows.back().front(), kMaxFieldChars);
}

std::u16string ReadCodePageKey(CLocalDb* db, const char* key) {
    return GbkToUtf16(ReadStored(db, key).value_or(std::string()));
}

std::u16string ReadUtf8Key(CLocalDb* db, const char* key) {
    return Utf8ToUtf16(ReadStored(db, key).value_or(std::string()));
}

// The configuration's own copies are cut to their fields; the page shows the stored texts as
// they are and falls back to the loaded value only when the key cannot be read.
std::u16string StoredCodePageText(CLocalDb* db, const char* key, const std::string& loaded) {
    return GbkToUtf16(ReadStored(db, key).value_or(loaded));
}

}  // namespace

SettingsField NextSettingsField(SettingsField field) {
    if (field == SettingsField::ConfirmButton) return SettingsField::StoreName;
    return static_cast<SettingsField>(static_cast<int>(field) + 1);
}

ParameterSettings::ParameterSettings(SettingsView& view, CLocalDb* db, OperatorIdSource operatorId,
                                     Restarter restart)
    : m_view(view), m_db(db), m_operatorId(std::move(operatorId)), m_restart(std::move(restart)) {}

SettingsForm ParameterSettings::LoadForm(CLocalDb* db, const TerminalConfig& config) {
    SettingsForm form;
    const std::optional<std::string> storeName = ReadStored(db, "MerName");
    form.storeName = storeName ? Utf8ToUtf16(*storeName) : config.MerName;
    form.merCode = StoredCodePageText(db, "MerCode", config.MerCode);
    form.termCode = StoredCodePageText(db, "TermCode", config.TermCode);
    form.merKey = StoredCodePageText(db, "MerKey", config.MerKey);
    form.printChoice =
        kPrintChoiceEntries[PrintChoiceIndex(config.PrintMerPage, config.PrintCustPage)];
    form.serverIP = StoredCodePageText(db, "ServerIP", config.ServerIP);
    form.serverPort = StoredCodePageText(db, "ServerPort", config.ServerPort);
    form.showKey = ReadCodePageKey(db, "ShowKey");
    form.hideKey = ReadCodePageKey(db, "HideKey");
    form.lineWide = StoredCodePageText(db, "LineWide", config.LineWide);
    form.fontSize = StoredCodePageText(db, "FontSize", std::to_string(config.FontSize));
    form.leftKey = ReadCodePageKey(db, "LeftKey");
    form.rightKey = ReadCodePageKey(db, "RightKey");
    form.repealKey = ReadCodePageKey(db, "RepealKey");
    form.settleKey = ReadCodePageKey(db, "SettleKey");
    form.printerName = ReadUtf8Key(db, "PrintName");
    return form;
}

void ParameterSettings::Save() {
    if (m_operatorId() != kAdministratorId) {
        m_view.ShowNotice(u"您不是超级管理员，不能修改配置！");
        m_view.ClearForm();
        m_view.FocusField(SettingsField::StoreName);
        return;
    }
    SettingsForm form = m_view.ReadForm();
    if (!CheckForm(form)) return;
    if (!WriteAll(form)) {
        m_view.ShowNotice(u"配置失败，请重新配置！");
        return;
    }
    m_restart();
}

bool ParameterSettings::CheckForm(SettingsForm& form) {
    // Each failing field is reported alone; a box whose text can never pass is emptied.
    auto refuse = [this](SettingsField field, const char16_t* message, bool clear) {
        m_view.ShowError(message);
        if (clear) m_view.ClearField(field);
        m_view.FocusField(field);
        return false;
    };
    if (form.storeName.empty()) return refuse(SettingsField::StoreName, u"门店名称为空！", false);

    form.merCode = TrimSpacesAndLineFeeds(form.merCode);
    if (form.merCode.empty()) return refuse(SettingsField::MerCode, u"商户号为空！", false);
    if (form.merCode.size() != 15) {
        return refuse(SettingsField::MerCode, u"商户号的长度应该为15个数字！", true);
    }
    if (!AllOf(form.merCode, IsDigit)) {
        return refuse(SettingsField::MerCode, u"商户号不能包含除数字以外的字符！", true);
    }

    form.termCode = TrimSpacesAndLineFeeds(form.termCode);
    if (form.termCode.empty()) return refuse(SettingsField::TermCode, u"终端号为空！", false);
    if (form.termCode.size() >= 9) {
        return refuse(SettingsField::TermCode, u"终端号的长度最多为8个数字！", true);
    }
    if (!AllOf(form.termCode, IsDigit)) {
        return refuse(SettingsField::TermCode, u"终端号不能包括除数字以外的字符！", true);
    }

    form.merKey = TrimSpacesAndLineFeeds(form.merKey);
    if (form.merKey.empty()) return refuse(SettingsField::MerKey, u"商户key为空！", false);
    if (form.merKey.size() != 32)
        return refuse(SettingsField::MerKey, u"商户Key长度不正确！", true);
    if (!AllOf(form.merKey, IsLetterOrDigit)) {
        return refuse(SettingsField::MerKey, u"商户key不能包含除字符与数字以外的字符！", true);
    }
    return true;
}

bool ParameterSettings::WriteAll(const SettingsForm& form) {
    if (!m_db) return false;
    const PrintFlags flags = PrintFlagsForEntry(form.printChoice);
    const std::array<std::pair<const char*, std::string>, 17> values{{
        {"MerName", Utf16ToUtf8(BoundedField(form.storeName))},
        {"MerCode", CodePageTrimmed(form.merCode)},
        {"TermCode", CodePageTrimmed(form.termCode)},
        {"MerKey", CodePageTrimmed(form.merKey)},
        {"PrintCustPage", flags.PrintCustPage},
        {"PrintMerPage", flags.PrintMerPage},
        {"ServerIP", CodePageTrimmed(form.serverIP)},
        {"ServerPort", CodePageTrimmed(form.serverPort)},
        {"ShowKey", CodePageTrimmed(form.showKey)},
        {"HideKey", CodePageTrimmed(form.hideKey)},
        {"LineWide", CodePageTrimmed(form.lineWide)},
        {"FontSize", CodePageTrimmed(form.fontSize)},
        {"LeftKey", CodePageTrimmed(form.leftKey)},
        {"RightKey", CodePageTrimmed(form.rightKey)},
        {"RepealKey", CodePageTrimmed(form.repealKey)},
        {"SettleKey", CodePageTrimmed(form.settleKey)},
        {"PrintName", Utf16ToUtf8(BoundedField(form.printerName))},
    }};
    // All or nothing: a save that stops half-way would leave a configuration nobody typed.
    if (!m_db->Execute("begin")) return false;
    for (const auto& [key, value] : values) {
        bool written = m_db->Execute("update SysConfig set Value = ? where Name = ?",
                                     {value, std::string(key)});
        // A key without its row would be lost silently; the row is added instead.
        if (written && m_db->ChangedRows() == 0) {
            written = m_db->Execute("insert into SysConfig (Name, Value) values (?, ?)",
                                    {std::string(key), value});
        }
        if (!written) {
            m_db->Execute("rollback");
            return false;
        }
    }
    if (!m_db->Execute("commit")) {
        m_db->Execute("rollback");
        return false;
    }
    return true;
}

}  // namespace zelvo
