// The reference for the show's start-up: the least a Qt Widgets program does to
// show one picture full screen.

#include <QApplication>
#include <QLabel>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label;
    label.setWindowFlags(Qt::FramelessWindowHint);
    label.setPixmap(QPixmap(QString::fromLocal8Bit(argv[argc - 1])));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setGeometry(QGuiApplication::primaryScreen()->geometry());
    label.show();
    return app.exec();
}
