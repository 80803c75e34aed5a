#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QStringList>
#include <QWidget>

#include "shell/ShellTypes.h"
#include "shell/settings/ParameterSettings.h"
#include "shell/settings/SettingsView.h"

class QComboBox;

namespace zelvo {

class ActionButton;
class SkinEdit;

// The parameter settings page: sixteen fields on a white panel, saved by "确认修改".
class SettingsPage : public QWidget, public SettingsView {
    Q_OBJECT
public:
    using MessageSink = std::function<void(MessageKind, const QString&)>;

    struct Services {
        CLocalDb* db = nullptr;
        ParameterSettings::OperatorIdSource operatorId;
        ParameterSettings::Restarter restart;
        MessageSink showMessage;
        std::function<void()> selectCaptureRegion;
    };

    // `initial` fills the boxes once; `systemPrinters` follow "无驱动打印" in the printer list.
    SettingsPage(Services services, const SettingsForm& initial, const QStringList& systemPrinters,
                 QWidget* parent = nullptr);
    ~SettingsPage() override;

    // The page became the current one: the store name takes the focus; nothing is reloaded.
    void Activate();
    // A key of the on-screen keypad; "确  认" acts like Enter.
    void ApplyKeypadKey(int code);

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
    ActionButton* m_confirm = nullptr;
    ActionButton* m_captureButton = nullptr;
};

}  // namespace zelvo
