#include <QApplication>

#include "app/CQuorraApp.h"

int main(int argc, char* argv[]) {
    zelvo::CQuorraApp app;
    if (!app.ClaimSingleInstance()) return 0;
    QApplication qtApp(argc, argv);
    if (!app.InitInstance(QApplication::applicationFilePath().toStdString())) return 0;
    return qtApp.exec();
}
