#include "tests/support/CashierWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStringList>

#include "shell/DefaultPages.h"
#include "shell/Layout.h"
#include "shell/controls/SkinEdit.h"
#include "shell/login/LoginPanel.h"
#include "shell/pages/OperationPages.h"
#include "shell/window/PageArea.h"

namespace zelvo::test {

MainWindowSetup CashierWindowSetup(CLocalDb& db, OperationServices& operations,
                                   const QRect& workArea) {
    const WindowPlacement placement =
        PlaceMainWindow({workArea.left(), workArea.top(), workArea.width(), workArea.height()});
    SetWindowLayout(placement.scale, placement.smallScreen);
    OperationPagesSetup pages = DefaultOperationPagesSetup(operations);
    pages.systemPrinters = [] { return QStringList(); };
    MainWindowSetup setup;
    setup.db = &db;
    setup.placement = placement;
    setup.workArea = workArea;
    setup.title = QStringLiteral("Zelvo");
    setup.pages = MakeShellPageFactory(db, MakeOperationPageFactory(std::move(pages), nullptr));
    return setup;
}

bool LogInDemoOperator(MainWindow& window) {
    LoginPanel* login = window.Pages()->Login();
    if (!login) return false;
    login->OperatorIdBox()->setText(QStringLiteral("01"));
    login->PasswordBox()->setText(QStringLiteral("123456"));
    login->PasswordBox()->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(login->PasswordBox(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(login->PasswordBox(), &release);
    return true;
}

}  // namespace zelvo::test
