// On a private X server: Qt's stand-in for a host's window goes with the show.

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include "platform/x11/X11HostWindow.h"
#include "support/Desktop.h"

using namespace vz;

class tst_hostwindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void foreignWindowGoesWithTheShow()
    {
        X11HostWindow hosts;
        auto *show = new QWidget;
        QVERIFY(hosts.embed(*show, hosts.rootWindow()));
        const QPointer<QWindow> foreign = show->windowHandle()->parent();
        QVERIFY(foreign);
        delete show;
        QVERIFY(foreign.isNull());
    }
};

int main(int argc, char *argv[])
{
    const vz::test::XServer x;
    qputenv("DISPLAY", x.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tst_hostwindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hostwindow.moc"
