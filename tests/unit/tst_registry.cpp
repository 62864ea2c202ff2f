// Reading the registry (GetKeyValue's rules, the Linux machine store file and
// its built-in answers) and how the system information tool is found and started.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/SystemInfo.h"
#include "platform/qt/DesktopShell.h"
#include "platform/qt/MachineRegistry.h"
#include "support/Forms.h"

using namespace vz;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Zizure\\Veroridovuz");

// A shell script that appends its tag to ran.txt beside it.
void writeScript(const QString &path, const QString &tag = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\necho '%1' >> '%2/ran.txt'\n").arg(tag, QFileInfo(path).path()).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class tst_registry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // result: "throws", "false" or "true"; access 0: no such key; type 0: no such value.
    void getKeyValue_data()
    {
        QTest::addColumn<quint32>("access");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("text");
        const quint32 full = reg::KeyAllAccess, sz = reg::TypeSz;
        const QByteArray a1023(1023, 'a');
        QTest::newRow("closing zero") << full << sz << QByteArray("/usr/bin/x\0", 11) << "true" << "/usr/bin/x";
        QTest::newRow("no closing zero") << full << sz << QByteArray("abc") << "true" << "abc";
        QTest::newRow("1024 bytes") << full << sz << a1023 + '\0' << "true" << QString::fromLatin1(a1023);
        QTest::newRow("1025 bytes") << full << sz << a1023 + QByteArray("b\0", 2) << "false" << "";
        QTest::newRow("zero bytes") << full << sz << QByteArray() << "throws" << "caller's";
        QTest::newRow("value missing") << full << 0u << QByteArray() << "false" << "";
        QTest::newRow("key missing") << 0u << 0u << QByteArray() << "false" << "";
        QTest::newRow("read access only") << quint32(reg::KeyRead) << sz << QByteArray("abc") << "false" << "";
        QTest::newRow("expandable") << full << reg::TypeExpandSz << QByteArray("%P%\0", 4) << "true" << "caller's";
        QTest::newRow("DWORD 256") << full << reg::TypeDword << QByteArray("\0\x01\0\0", 4) << "true" << "256";
    }
    void getKeyValue()
    {
        QFETCH(quint32, access);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, result);
        QFETCH(QString, text);
        RegistryTable registry;
        if (access)
            registry.addKey(reg::LocalMachine, kKey, access);
        if (type)
            registry.setValue(reg::LocalMachine, kKey, QStringLiteral("PATH"), {type, data});
        QString value = QStringLiteral("caller's");
        auto read = [&] { return GetKeyValue(registry, reg::LocalMachine, kKey, QStringLiteral("PATH"), value); };
        if (result == u"throws")
            QVERIFY_THROWS_EXCEPTION(KeyValueError, read());
        else
            QCOMPARE(read(), result == u"true");
        QCOMPARE(value, text);
        QCOMPARE(registry.openHandles(), 0);
    }

    // The store file, read afresh at each look-up (names and keys in any case;
    // lines that do not parse left out); without it the system-information
    // program on PATH answers, hardinfo first but only one that can run.
    void machineStore()
    {
        QTemporaryDir dir;
        qputenv("PATH", dir.path().toLocal8Bit());
        MachineRegistry registry(dir.filePath(QStringLiteral("registry.ini")));
        QString path;
        writeScript(dir.filePath(QStringLiteral("kinfocenter")));
        QFile(dir.filePath(QStringLiteral("hardinfo"))).open(QIODevice::WriteOnly);
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, dir.filePath(QStringLiteral("kinfocenter")));
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue, path));
        QCOMPARE(path, dir.path());
        writeScript(dir.filePath(QStringLiteral("hardinfo")));
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, dir.filePath(QStringLiteral("hardinfo")));
        QFile f(dir.filePath(QStringLiteral("registry.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; note\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Z]\r\nA=sz:/opt/z\r\n  B = expand_sz:$HOME/x\r\n"
                "C=dword:0000012a\r\nD=dword:xyz\r\nE=hex:01,,02\r\nF=hex(1):41,00\r\n");
        f.close();
        const std::tuple<const char *, quint32, QByteArray> rows[] = {
            {"a", reg::TypeSz, QByteArray("/opt/z\0", 7)}, {"b", reg::TypeExpandSz, QByteArray("$HOME/x\0", 8)},
            {"C", reg::TypeDword, QByteArray("\x2a\x01\0\0", 4)}, {"D", 0, {}}, {"E", 0, {}}, {"F", reg::TypeSz, QByteArray("A\0", 2)}};
        for (const auto &[name, type, data] : rows) {
            reg::HKey h = 0;
            QCOMPARE(registry.openKey(reg::LocalMachine, QStringLiteral("software\\z"), reg::KeyRead, h), reg::Success);
            QByteArray buffer(64, '\0');
            std::uint32_t readType = 0, length = 0;
            const long status = registry.queryValue(h, QString::fromLatin1(name), readType,
                                                    {buffer.data(), size_t(buffer.size())}, length);
            registry.closeKey(h);
            QCOMPARE(status, type ? reg::Success : reg::FileNotFound);
            QCOMPARE(type ? readType : 0u, type);
            QCOMPARE(buffer.left(int(length)), type ? data : buffer.left(int(length)));
        }
    }

    // The PATH value (type 0: none) and the folder value; $D holds "tool" and
    // msinfo/MSINFO32.EXE. ran: which of them ran; none gives the message.
    void startSysInfo_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("fullAccess");
        QTest::addColumn<QString>("ran");
        const quint32 sz = reg::TypeSz;
        const QByteArray tool("$D/tool\0", 8);
        QTest::newRow("PATH, no folder") << sz << tool << "" << true << "tool";
        QTest::newRow("no PATH, folder without the tool") << 0u << QByteArray() << "$D" << true << "";
        QTest::newRow("no PATH, folder with it") << 0u << QByteArray() << "$D/msinfo" << true << "msinfo";
        QTest::newRow("PATH over 1024 bytes") << sz << QByteArray(1100, 'x') << "$D/msinfo" << true << "msinfo";
        QTest::newRow("PATH of zero bytes") << sz << QByteArray() << "$D/msinfo" << true << "";
        QTest::newRow("PATH expandable") << reg::TypeExpandSz << tool << "$D/msinfo" << true << "";
        QTest::newRow("PATH names no program") << sz << QByteArray("$D/none") << "" << true << "";
        QTest::newRow("no full access") << sz << tool << "$D/msinfo" << false << "";
    }
    void startSysInfo()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, path);
        QFETCH(QString, folder);
        QFETCH(bool, fullAccess);
        QFETCH(QString, ran);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("msinfo")));
        writeScript(dir.filePath(QStringLiteral("tool")), QStringLiteral("tool"));
        writeScript(dir.filePath(QStringLiteral("msinfo/MSINFO32.EXE")), QStringLiteral("msinfo"));
        RegistryTable registry;
        const std::uint32_t access = fullAccess ? reg::KeyAllAccess : reg::KeyRead;
        registry.addKey(reg::LocalMachine, reg::SysInfoKey, access);
        registry.addKey(reg::LocalMachine, reg::SysInfoFolderKey, access);
        const QByteArray d = dir.path().toLocal8Bit();
        if (type)
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, {type, path.replace("$D", d)});
        if (!folder.isEmpty())
            registry.setValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue,
                              {reg::TypeSz, folder.toLocal8Bit().replace("$D", d) + '\0'});
        DesktopShell shell;
        vz::test::MessageBoxCatcher boxes;
        StartSysInfo(registry, shell, nullptr);
        const QString ranFile = dir.filePath(ran == u"msinfo" ? QStringLiteral("msinfo/ran.txt") : QStringLiteral("ran.txt"));
        if (ran.isEmpty()) {
            QCOMPARE(boxes.texts(), QStringList{"System Information Is Unavailable At This Time"});
        } else {
            QTRY_VERIFY(QFile::exists(ranFile));
            QVERIFY(boxes.texts().isEmpty());
        }
        QCOMPARE(registry.openHandles(), 0);
    }
};

QTEST_MAIN(tst_registry)
#include "tst_registry.moc"
