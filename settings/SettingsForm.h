#pragma once

#include <string>

namespace zelvo {

// The fields of the settings page in their Enter and Tab order, then the save button.
enum class SettingsField {
    StoreName,
    MerCode,
    TermCode,
    MerKey,
    LineWide,
    FontSize,
    PrintChoice,
    ServerIP,
    ServerPort,
    ShowKey,
    HideKey,
    RepealKey,
    SettleKey,
    LeftKey,
    RightKey,
    Printer,
    ConfirmButton,
};

// An edit box of the page holds no more (Qt's own limit); stored texts are read up to the same
// length, so a save writes back exactly what the page showed.
inline constexpr int kMaxSettingChars = 32767;

// Tab order: every field, the save button, then back to the store name.
SettingsField NextSettingsField(SettingsField field);

// What the page shows, as the operator typed or chose it.
struct SettingsForm {
    std::u16string storeName;
    std::u16string merCode;
    std::u16string termCode;
    std::u16string merKey;
    std::u16string printChoice;  // the chosen entry's text
    std::u16string serverIP;
    std::u16string serverPort;
    std::u16string showKey;
    std::u16string hideKey;
    std::u16string lineWide;
    std::u16string fontSize;
    std::u16string leftKey;
    std::u16string rightKey;
    std::u16string repealKey;
    std::u16string settleKey;
    std::u16string printerName;  // the chosen entry's text, empty when none is chosen
};

}  // namespace zelvo
