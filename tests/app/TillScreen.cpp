// Stands in for the till program in whole-program checks: "show X Y W H TEXT" puts a frameless
// window with the total at that place of the screen and takes the keyboard; "grab FILE" saves a
// copy of the whole screen.
#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("grab")) {
        return QGuiApplication::primaryScreen()->grabWindow(0).save(args[2]) ? 0 : 1;
    }
    if (args.size() != 7 || args[1] != QStringLiteral("show")) {
        std::fputs("usage: till-screen show X Y W H TEXT | till-screen grab FILE\n", stderr);
        return 2;
    }
    QLabel total(args[6]);
    total.setWindowTitle(QStringLiteral("till-screen"));
    total.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    total.setStyleSheet(QStringLiteral("background: white; color: black; font: bold 26px;"));
    total.setAlignment(Qt::AlignCenter);
    total.setGeometry(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
    total.show();
    total.activateWindow();
    return app.exec();
}
