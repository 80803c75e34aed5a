#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "config/TerminalConfig.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/Skin.h"
#include "shell/settings/SettingsPage.h"
#include "store/CLocalDb.h"
#include "tests/pages/FakeShellHost.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using test::PressKey;

class SettingsPageTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        LoadTerminalConfig(m_db, m_config);
        MakePage({QStringLiteral("Office"), QStringLiteral("Receipt-80")});
    }
    void MakePage(const QStringList& printers) {
        m_page.reset();
        SettingsPage::Services services;
        services.db = &m_db;
        services.operatorId = [this] { return m_operator; };
        services.restart = [this] { ++m_restarts; };
        services.selectCaptureRegion = [this] { ++m_captureRequests; };
        m_page = std::make_unique<SettingsPage>(
            m_host, services, ParameterSettings::LoadForm(&m_db, m_config), printers, nullptr);
        test::ShowActive(*m_page);
        m_page->PreparePage();
    }
    QLineEdit* Edit(SettingsField field) const {
        return static_cast<QLineEdit*>(m_page->FieldWidget(field));
    }
    QComboBox* List(SettingsField field) const {
        return static_cast<QComboBox*>(m_page->FieldWidget(field));
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    std::string Stored(const std::string& key) {
        return test::QueryText(m_dir.Path() / "MISData.db",
                               "select Value from SysConfig where Name = '" + key + "'");
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    test::FakeShellHost m_host;
    std::unique_ptr<SettingsPage> m_page;
    std::string m_operator = "00";
    int m_restarts = 0;
    int m_captureRequests = 0;
};

TEST_F(SettingsPageTest, OpensWithStoredValuesAndTheStoreNameFocused) {
    EXPECT_EQ(Focused(), Edit(SettingsField::StoreName));
    EXPECT_EQ(Edit(SettingsField::MerCode)->text(), QStringLiteral("898310060110001"));
    EXPECT_EQ(Edit(SettingsField::MerKey)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Edit(SettingsField::RepealKey)->text(), QStringLiteral("f3"));
    QComboBox* printers = List(SettingsField::Printer);
    ASSERT_EQ(printers->count(), 3);
    EXPECT_EQ(printers->itemText(0), QStringLiteral("无驱动打印"));
    EXPECT_EQ(printers->itemText(2), QStringLiteral("Receipt-80"));
    EXPECT_EQ(printers->currentIndex(), 0);
    EXPECT_EQ(List(SettingsField::PrintChoice)->count(), 5);
}

TEST_F(SettingsPageTest, StoredPrinterIsSelectedIgnoringCaseAndAnUnknownOneSelectsNothing) {
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = 'receipt-80' where Name = 'PrintName'"));
    MakePage({QStringLiteral("Receipt-80")});
    EXPECT_EQ(List(SettingsField::Printer)->currentIndex(), 1);
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = 'Gone' where Name = 'PrintName'"));
    MakePage({});
    EXPECT_EQ(List(SettingsField::Printer)->count(), 1);
    EXPECT_EQ(List(SettingsField::Printer)->currentIndex(), -1);
}

TEST_F(SettingsPageTest, EnterWalksTheFieldsInOrderAndSavesFromThePrinterList) {
    const SettingsField order[] = {
        SettingsField::MerCode,  SettingsField::TermCode,   SettingsField::MerKey,
        SettingsField::LineWide, SettingsField::FontSize,   SettingsField::PrintChoice,
        SettingsField::ServerIP, SettingsField::ServerPort, SettingsField::ShowKey,
        SettingsField::HideKey,  SettingsField::RepealKey,  SettingsField::SettleKey,
        SettingsField::LeftKey,  SettingsField::RightKey,   SettingsField::Printer,
    };
    for (SettingsField next : order) {
        PressKey(Qt::Key_Return);
        ASSERT_EQ(Focused(), m_page->FieldWidget(next)) << static_cast<int>(next);
    }
    EXPECT_EQ(m_restarts, 0);
    PressKey(Qt::Key_Return);
    EXPECT_EQ(Focused(), m_page->FieldWidget(SettingsField::ConfirmButton));
    EXPECT_EQ(m_restarts, 1);
}

TEST_F(SettingsPageTest, TabHighlightsTheSaveButtonThenReturnsToTheStoreName) {
    auto* confirm = static_cast<ActionButton*>(m_page->FieldWidget(SettingsField::ConfirmButton));
    for (int i = 0; i < 16; ++i) PressKey(Qt::Key_Tab);
    EXPECT_EQ(Focused(), confirm);
    EXPECT_EQ(confirm->Fill(), skin::AccentLight);
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(Focused(), Edit(SettingsField::StoreName));
    EXPECT_EQ(confirm->Fill(), skin::Accent);
    EXPECT_EQ(m_restarts, 0);
}

TEST_F(SettingsPageTest, ChecksReportTheirMessagesAndEmptyTheFailingBox) {
    Edit(SettingsField::MerCode)->setText(QStringLiteral("12345678901234"));
    m_page->FieldWidget(SettingsField::ConfirmButton)->setFocus();
    PressKey(Qt::Key_Return);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("商户号的长度应该为15个数字！"));
    EXPECT_EQ(m_host.messages.back().kind, MessageKind::Error);
    EXPECT_TRUE(Edit(SettingsField::MerCode)->text().isEmpty());
    EXPECT_EQ(Focused(), Edit(SettingsField::MerCode));

    Edit(SettingsField::MerCode)->setText(QStringLiteral(" 123456789012345 "));
    Edit(SettingsField::TermCode)->setText(QStringLiteral("123456789"));
    PressKey(Qt::Key_Return, m_page->FieldWidget(SettingsField::Printer));
    EXPECT_EQ(m_host.LastText(), QStringLiteral("终端号的长度最多为8个数字！"));

    Edit(SettingsField::TermCode)->setText(QStringLiteral("12345678"));
    Edit(SettingsField::MerKey)->setText(QStringLiteral("0123456789abcdef-123456789ABCDEF"));
    PressKey(Qt::Key_Return, m_page->FieldWidget(SettingsField::Printer));
    EXPECT_EQ(m_host.LastText(), QStringLiteral("商户key不能包含除字符与数字以外的字符！"));
    EXPECT_EQ(m_restarts, 0);

    Edit(SettingsField::StoreName)->clear();
    PressKey(Qt::Key_Return, m_page->FieldWidget(SettingsField::Printer));
    EXPECT_EQ(m_host.LastText(), QStringLiteral("门店名称为空！"));
    EXPECT_EQ(Focused(), Edit(SettingsField::StoreName));
}

TEST_F(SettingsPageTest, ACashierSeesTheRefusalAndAnEmptyForm) {
    m_operator = "01";
    PressKey(Qt::Key_Return, m_page->FieldWidget(SettingsField::Printer));
    EXPECT_EQ(m_host.LastText(), QStringLiteral("您不是超级管理员，不能修改配置！"));
    EXPECT_EQ(m_host.messages.back().kind, MessageKind::Notice);
    EXPECT_TRUE(Edit(SettingsField::MerCode)->text().isEmpty());
    EXPECT_TRUE(Edit(SettingsField::RightKey)->text().isEmpty());
    EXPECT_EQ(Focused(), Edit(SettingsField::StoreName));
    EXPECT_EQ(Stored("MerCode"), "898310060110001");
}

TEST_F(SettingsPageTest, ASaveStoresTheChoicesAndRestarts) {
    Edit(SettingsField::StoreName)->setText(QStringLiteral("悦来便利店"));
    List(SettingsField::PrintChoice)->setCurrentIndex(4);
    List(SettingsField::Printer)->setCurrentIndex(2);
    static_cast<ActionButton*>(m_page->FieldWidget(SettingsField::ConfirmButton))->Clicked(0);
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("MerName"), "悦来便利店");
    EXPECT_EQ(Stored("PrintMerPage"), "0");
    EXPECT_EQ(Stored("PrintCustPage"), "2");
    EXPECT_EQ(Stored("PrintName"), "Receipt-80");
}

TEST_F(SettingsPageTest, ASaveKeepsLongStoredTextsWhole) {
    const std::string longName(300, 'n');
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = ? where Name = 'MerName'", {longName}));
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = '176010' where Name = 'ServerPort'"));
    LoadTerminalConfig(m_db, m_config);
    MakePage({QStringLiteral("Office")});
    EXPECT_EQ(Edit(SettingsField::StoreName)->text().size(), 300);
    static_cast<ActionButton*>(m_page->FieldWidget(SettingsField::ConfirmButton))->Clicked(0);
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("MerName"), longName);
    EXPECT_EQ(Stored("ServerPort"), "176010");
}

TEST_F(SettingsPageTest, ASaveWhileTheStoredPrinterIsAbsentKeepsItsName) {
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = 'Gone' where Name = 'PrintName'"));
    MakePage({QStringLiteral("Office")});
    ASSERT_EQ(List(SettingsField::Printer)->currentIndex(), -1);
    static_cast<ActionButton*>(m_page->FieldWidget(SettingsField::ConfirmButton))->Clicked(0);
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("PrintName"), "Gone");
}

TEST_F(SettingsPageTest, KeypadTypesIntoTheFocusedBoxAndConfirmActsLikeEnter) {
    Edit(SettingsField::StoreName)->clear();
    m_page->HandleKeypadKey(1);
    m_page->HandleKeypadKey(KeypadKey::Dot);
    m_page->HandleKeypadKey(2);
    EXPECT_EQ(Edit(SettingsField::StoreName)->text(), QStringLiteral("1.2"));
    m_page->HandleKeypadKey(KeypadKey::Backspace);
    EXPECT_EQ(Edit(SettingsField::StoreName)->text(), QStringLiteral("1."));
    m_host.keypadOpen = true;
    m_page->HandleKeypadKey(KeypadKey::Confirm);
    EXPECT_EQ(Focused(), Edit(SettingsField::MerCode));
    EXPECT_FALSE(m_host.keypadOpen);
    m_page->HandleKeypadKey(KeypadKey::Reset);
    EXPECT_TRUE(Edit(SettingsField::MerCode)->text().isEmpty());
}

TEST_F(SettingsPageTest, CaptureButtonAsksForTheRegion) {
    const auto buttons = m_page->findChildren<ActionButton*>();
    for (ActionButton* button : buttons) {
        if (button->Caption() == QStringLiteral("选择金额出现区域")) button->Clicked(0);
    }
    EXPECT_EQ(m_captureRequests, 1);
    EXPECT_EQ(m_restarts, 0);
}

}  // namespace
}  // namespace zelvo
