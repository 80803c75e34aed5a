#include "shell/settings/SettingsPage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/FlatComboBox.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "settings/PrintChoice.h"
#include "shell/ShellHost.h"

namespace zelvo {
namespace {

constexpr int kEditFontSize = 18;
constexpr int kLabelHeight = 12;  // pixels
constexpr int kPairGap = 10;      // pixels between the two fields of a pair

enum class Slot { Whole, LeftHalf, RightHalf };

struct FieldPlace {
    SettingsField field;
    const char16_t* label;
    int column;  // 0 left, 1 right
    int row;
    Slot slot;
};

const FieldPlace kPlaces[] = {
    {SettingsField::StoreName, u"门店名称:", 0, 0, Slot::Whole},
    {SettingsField::MerCode, u"商户号:", 0, 1, Slot::Whole},
    {SettingsField::TermCode, u"终端号:", 0, 2, Slot::Whole},
    {SettingsField::MerKey, u"交易密钥:", 0, 3, Slot::Whole},
    {SettingsField::LineWide, u"打印宽度:", 0, 4, Slot::LeftHalf},
    {SettingsField::FontSize, u"打印字体大小:", 0, 4, Slot::RightHalf},
    {SettingsField::PrintChoice, u"打印设置:", 0, 5, Slot::Whole},
    {SettingsField::ServerIP, u"通讯IP:", 1, 0, Slot::LeftHalf},
    {SettingsField::ServerPort, u"通讯端口:", 1, 0, Slot::RightHalf},
    {SettingsField::ShowKey, u"显示快捷键:", 1, 1, Slot::LeftHalf},
    {SettingsField::HideKey, u"隐藏快捷键:", 1, 1, Slot::RightHalf},
    {SettingsField::RepealKey, u"退款快捷键:", 1, 2, Slot::LeftHalf},
    {SettingsField::SettleKey, u"结算快捷键:", 1, 2, Slot::RightHalf},
    {SettingsField::LeftKey, u"左切换键:", 1, 3, Slot::LeftHalf},
    {SettingsField::RightKey, u"右切换键:", 1, 3, Slot::RightHalf},
    {SettingsField::Printer, u"打印机选择:", 1, 4, Slot::Whole},
};

int Index(SettingsField field) {
    return static_cast<int>(field);
}
QString ToQ(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
std::u16string FromQ(const QString& text) {
    return text.toStdU16String();
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

SettingsPage::SettingsPage(ShellHost& host, Services services, const SettingsForm& initial,
                           const QStringList& systemPrinters, QWidget* parent)
    : ShellPage(PageId::Settings, host, parent),
      m_services(std::move(services)),
      m_settings(*this, m_services.db, m_services.operatorId, m_services.restart) {
    BuildControls(initial, systemPrinters);
}

SettingsPage::~SettingsPage() = default;

void SettingsPage::BuildControls(const SettingsForm& initial, const QStringList& systemPrinters) {
    const std::u16string* texts[] = {
        &initial.storeName,  &initial.merCode,  &initial.termCode, &initial.merKey,
        &initial.lineWide,   &initial.fontSize, nullptr,           &initial.serverIP,
        &initial.serverPort, &initial.showKey,  &initial.hideKey,  &initial.repealKey,
        &initial.settleKey,  &initial.leftKey,  &initial.rightKey, nullptr,
    };
    for (const FieldPlace& place : kPlaces) {
        auto* label =
            new SkinLabel(QString::fromUtf16(place.label), kLabelHeight, Qt::AlignLeft, this);
        m_labels[Index(place.field)] = label;
        const std::u16string* text = texts[Index(place.field)];
        if (!text) continue;
        auto* edit = new SkinEdit(kEditFontSize, false, this);
        edit->setMaxLength(kMaxSettingChars);
        edit->setText(ToQ(*text));
        if (place.field == SettingsField::MerKey) edit->SetPasswordStyle(true);
        m_fields[Index(place.field)] = edit;
    }

    m_printChoice = new FlatComboBox(this);
    for (std::u16string_view entry : kPrintChoiceEntries) {
        m_printChoice->addItem(
            QString::fromUtf16(entry.data(), static_cast<qsizetype>(entry.size())));
    }
    m_printChoice->setCurrentIndex(m_printChoice->findText(ToQ(initial.printChoice)));
    m_fields[Index(SettingsField::PrintChoice)] = m_printChoice;

    std::vector<std::u16string> printers;
    for (const QString& name : systemPrinters) printers.push_back(FromQ(name));
    const std::vector<std::u16string> choices = PrinterChoices(printers);
    m_printer = new FlatComboBox(this);
    for (const std::u16string& choice : choices) m_printer->addItem(ToQ(choice));
    m_printer->setCurrentIndex(PrinterIndex(choices, initial.printerName));
    m_loadedPrinterName = initial.printerName;
    m_fields[Index(SettingsField::Printer)] = m_printer;

    for (QComboBox* list : {m_printChoice, m_printer}) {
        list->setFont(skin::Font(14));
        // About 106 units of list when it opens.
        list->setMaxVisibleItems(5);
    }

    m_confirm = new ActionButton(QStringLiteral("确认修改"), 18, 0, this);
    m_confirm->setFocusPolicy(Qt::StrongFocus);
    m_fields[Index(SettingsField::ConfirmButton)] = m_confirm;
    connect(m_confirm, &ActionButton::Clicked, this, [this] { m_settings.Save(); });

    m_captureButton = new ActionButton(QStringLiteral("选择金额出现区域"), 14, 0, this);
    connect(m_captureButton, &ActionButton::Clicked, this, [this] {
        if (m_services.selectCaptureRegion) m_services.selectCaptureRegion();
    });

    for (QWidget* field : m_fields) field->installEventFilter(this);
}

QRect SettingsPage::PanelRect() const {
    const LayoutScale& scale = GetLayoutScale();
    const int width = scale.X(570);
    return QRect((this->width() - width) / 2, scale.Y(25), width, height() - 2 * scale.Y(25));
}

void SettingsPage::PlaceControls() {
    const LayoutScale& scale = GetLayoutScale();
    const QRect panel = PanelRect();
    const int rowPitch = kLabelHeight + scale.Y(6) + scale.Y(26) + scale.Y(10);
    const int half = scale.X(115);
    for (const FieldPlace& place : kPlaces) {
        const int labelTop = panel.top() + scale.Y(30) + place.row * rowPitch;
        int left = panel.left() + scale.X(place.column == 0 ? 30 : 300);
        int width = scale.X(240);
        if (place.slot != Slot::Whole) width = half;
        if (place.slot == Slot::RightHalf) left += half + kPairGap;
        m_labels[Index(place.field)]->setGeometry(left, labelTop, width, kLabelHeight);
        m_fields[Index(place.field)]->setGeometry(left, labelTop + kLabelHeight + scale.Y(6), width,
                                                  scale.Y(26));
    }
    const QRect printer = m_printer->geometry();
    m_captureButton->setGeometry(printer.left(), printer.top() + scale.Y(42) + kLabelHeight,
                                 scale.X(240), scale.Y(26));
    const int confirmTop = m_printChoice->geometry().top() + scale.Y(44);
    m_confirm->setGeometry(panel.left() + scale.X(28), confirmTop, panel.width() - 2 * scale.X(28),
                           scale.Y(38));
}

void SettingsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void SettingsPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.fillRect(PanelRect(), Qt::white);
}

void SettingsPage::PreparePage() {
    FocusField(SettingsField::StoreName);
}

void SettingsPage::HandleKeypadKey(int code) {
    const SettingsField field = FieldOf(focusWidget());
    if (code == KeypadKey::Confirm) {
        // The keypad's confirm is the page's Enter and puts the keypad away.
        Host().CloseKeypad();
        OnEnter(field);
        return;
    }
    if (SkinEdit* edit = EditOf(field)) ApplyKeypadCode(*edit, code);
}

QWidget* SettingsPage::FieldWidget(SettingsField field) const {
    return m_fields[Index(field)];
}

SkinEdit* SettingsPage::EditOf(SettingsField field) const {
    if (field == SettingsField::PrintChoice || field == SettingsField::Printer ||
        field == SettingsField::ConfirmButton) {
        return nullptr;
    }
    return static_cast<SkinEdit*>(m_fields[Index(field)]);
}

SettingsField SettingsPage::FieldOf(const QObject* object) const {
    for (int i = 0; i < kFieldCount; ++i) {
        if (m_fields[i] == object) return static_cast<SettingsField>(i);
    }
    // Any other control counts as the end of the form: Enter there saves.
    return SettingsField::ConfirmButton;
}

bool SettingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_confirm && event->type() == QEvent::FocusOut) {
        m_confirm->SetFocusHighlight(false);
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (IsEnter(key)) {
        OnEnter(FieldOf(watched));
        return true;
    }
    if (key == Qt::Key_Tab) {
        OnTab(FieldOf(watched));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsPage::OnEnter(SettingsField from) {
    if (from == SettingsField::Printer || from == SettingsField::ConfirmButton) {
        FocusField(SettingsField::ConfirmButton);
        m_settings.Save();
        return;
    }
    FocusField(NextSettingsField(from));
}

void SettingsPage::OnTab(SettingsField from) {
    FocusField(NextSettingsField(from));
}

SettingsForm SettingsPage::ReadForm() const {
    auto text = [this](SettingsField field) { return FromQ(EditOf(field)->text()); };
    SettingsForm form;
    form.storeName = text(SettingsField::StoreName);
    form.merCode = text(SettingsField::MerCode);
    form.termCode = text(SettingsField::TermCode);
    form.merKey = text(SettingsField::MerKey);
    form.printChoice = FromQ(m_printChoice->currentText());
    form.serverIP = text(SettingsField::ServerIP);
    form.serverPort = text(SettingsField::ServerPort);
    form.showKey = text(SettingsField::ShowKey);
    form.hideKey = text(SettingsField::HideKey);
    form.lineWide = text(SettingsField::LineWide);
    form.fontSize = text(SettingsField::FontSize);
    form.leftKey = text(SettingsField::LeftKey);
    form.rightKey = text(SettingsField::RightKey);
    form.repealKey = text(SettingsField::RepealKey);
    form.settleKey = text(SettingsField::SettleKey);
    // A printer that is absent today (unplugged, not yet installed) keeps its stored name.
    form.printerName =
        m_printer->currentIndex() < 0 ? m_loadedPrinterName : FromQ(m_printer->currentText());
    return form;
}

void SettingsPage::ShowError(const std::u16string& text) {
    Host().ShowMessage(MessageKind::Error, ToQ(text));
}

void SettingsPage::ShowNotice(const std::u16string& text) {
    Host().ShowMessage(MessageKind::Notice, ToQ(text));
}

void SettingsPage::ClearField(SettingsField field) {
    if (SkinEdit* edit = EditOf(field)) edit->clear();
}

void SettingsPage::ClearForm() {
    for (int i = 0; i < kFieldCount; ++i) ClearField(static_cast<SettingsField>(i));
    m_printChoice->setCurrentIndex(-1);
    m_printer->setCurrentIndex(-1);
}

void SettingsPage::FocusField(SettingsField field) {
    QWidget* widget = m_fields[Index(field)];
    widget->setFocus(Qt::OtherFocusReason);
    m_confirm->SetFocusHighlight(field == SettingsField::ConfirmButton);
}

}  // namespace zelvo
