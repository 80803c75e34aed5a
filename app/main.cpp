#include <QApplication>

#include "app/CQuorraApp.h"
#include "shell/controls/Skin.h"

int main(int argc, char* argv[]) {
    zelvo::CQuorraApp app;
    if (!app.ClaimSingleInstance()) return 0;
    QApplication qtApp(argc, argv);
    // The restore icon is a tool window: only closing the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    zelvo::skin::InstallFontSubstitutions();
    if (!app.InitInstance(QApplication::applicationFilePath().toStdString())) {
        // The update thread may already run; it ends while the QApplication still exists.
        app.ExitInstance();
        return 0;
    }
    int code = qtApp.exec();
    app.ExitInstance();
    return code;
}
