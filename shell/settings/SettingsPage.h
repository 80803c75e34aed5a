#pragma once

#include <array>
#include <functional>

#include <QStringList>

#include "settings/ParameterSettings.h"
#include "settings/SettingsView.h"
#include "shell/ShellPage.h"

class QComboBox;

namespace zelvo {

class ActionButton;
class SkinEdit;

// The parameter settings page: sixteen fields on a white panel, saved by "确认修改".
class SettingsPage : public ShellPage, public SettingsView {
    Q_OBJECT
public:
    struct Services {
        CLocalDb* db = nullptr;
        ParameterSettings::OperatorIdSource operatorId;
        ParameterSettings::Restarter restart;
        std::function<void()> selectCaptureRegion;
    };

    // `initial` fills the boxes once; `systemPrinters` follow "无驱动打印" in the printer list.
    SettingsPage(ShellHost& host, Services services, const SettingsForm& initial,
                 const QStringList& systemPrinters, QWidget* parent);
    ~SettingsPage() override;

    // The page became the current one: the store name takes the focus; nothing is reloaded.
    void PreparePage() override;
    // A key of the on-screen keypad; "确  认" acts like Enter.
    void HandleKeypadKey(int code) override;

    QWidget* FieldWidget(SettingsField field) const;

    // SettingsView
    SettingsForm ReadForm() const override;
    void ShowError(const std::u16string& text) override;
    void ShowNotice(const std::u16string& text) override;
    void ClearField(SettingsField field) override;
    void ClearForm() override;
    void FocusField(SettingsField field) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int kFieldCount = static_cast<int>(SettingsField::ConfirmButton) + 1;

    void BuildControls(const SettingsForm& initial, const QStringList& systemPrinters);
    void PlaceControls();
    void OnEnter(SettingsField from);
    void OnTab(SettingsField from);
    SettingsField FieldOf(const QObject* object) const;
    SkinEdit* EditOf(SettingsField field) const;
    QRect PanelRect() const;

    Services m_services;
    ParameterSettings m_settings;
    std::array<QWidget*, kFieldCount> m_fields{};
    std::array<QWidget*, kFieldCount> m_labels{};
    QComboBox* m_printChoice = nullptr;
    QComboBox* m_printer = nullptr;
    std::u16string m_loadedPrinterName;
    ActionButton* m_confirm = nullptr;
    ActionButton* m_captureButton = nullptr;
};

}  // namespace zelvo
