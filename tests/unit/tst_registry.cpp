// Reading the registry: GetKeyValue's rules over an in-memory store, and the
// Linux machine store (its file format and the built-in answers that point at
// a system-information program on PATH).

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/SystemInfo.h"
#include "platform/MachineRegistry.h"

using namespace vz;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Zizure\\Veroridovuz");
const QString kCallersText = QStringLiteral("caller's text");

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

struct Read {
    long status = -1;
    std::uint32_t type = 0;
    QByteArray data;
};

Read readValue(Registry &registry, const QString &key, const QString &name)
{
    Read r;
    reg::HKey h = 0;
    r.status = registry.openKey(reg::LocalMachine, key, reg::KeyRead, h);
    if (r.status != reg::Success)
        return r;
    QByteArray buffer(64, '\0');
    std::uint32_t length = 0;
    r.status = registry.queryValue(h, name, r.type, std::span<char>(buffer.data(), buffer.size()), length);
    if (r.status == reg::Success)
        r.data = buffer.left(length);
    registry.closeKey(h);
    return r;
}

} // namespace

class tst_registry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void getKeyValue_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<quint32>("allowed");
        QTest::addColumn<bool>("valueExists");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("expectedText");

        const quint32 full = reg::KeyAllAccess;
        const QByteArray a1023(1023, 'a');
        QTest::newRow("text with closing zero")
            << true << full << true << reg::TypeSz << QByteArray("/usr/bin/hardinfo\0", 18) << true
            << "/usr/bin/hardinfo";
        QTest::newRow("text without closing zero")
            << true << full << true << reg::TypeSz << QByteArray("abc") << true << "abc";
        QTest::newRow("1024 bytes with closing zero")
            << true << full << true << reg::TypeSz << a1023 + '\0' << true << QString::fromLatin1(a1023);
        QTest::newRow("1025 bytes: not read")
            << true << full << true << reg::TypeSz << a1023 + QByteArray("b\0", 2) << false << "";
        QTest::newRow("value missing") << true << full << false << reg::TypeSz << QByteArray() << false << "";
        QTest::newRow("key missing") << false << full << false << reg::TypeSz << QByteArray() << false << "";
        QTest::newRow("key without full access")
            << true << quint32(reg::KeyRead) << true << reg::TypeSz << QByteArray("abc") << false << "";
        QTest::newRow("expandable string: text kept")
            << true << full << true << reg::TypeExpandSz << QByteArray("%ProgramFiles%\0", 15) << true
            << kCallersText;
        QTest::newRow("DWORD 256: low zero byte and high zero bytes")
            << true << full << true << reg::TypeDword << QByteArray("\0\x01\0\0", 4) << true << "256";
        QTest::newRow("DWORD all ones")
            << true << full << true << reg::TypeDword << QByteArray(4, '\xff') << true << "4294967295";
    }
    void getKeyValue()
    {
        QFETCH(bool, keyExists);
        QFETCH(quint32, allowed);
        QFETCH(bool, valueExists);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, expected);
        QFETCH(QString, expectedText);

        RegistryTable registry;
        if (keyExists)
            registry.addKey(reg::LocalMachine, kKey, allowed);
        if (valueExists)
            registry.setValue(reg::LocalMachine, kKey, QStringLiteral("PATH"), {type, data});
        QString text = kCallersText;
        QCOMPARE(GetKeyValue(registry, reg::LocalMachine, kKey, QStringLiteral("PATH"), text), expected);
        QCOMPARE(text, expectedText);
        QCOMPARE(registry.openHandles(), 0);
    }

    void zeroLengthValueThrowsToTheCaller()
    {
        RegistryTable registry;
        registry.setValue(reg::LocalMachine, kKey, QStringLiteral("PATH"), {reg::TypeSz, QByteArray()});
        QString text = kCallersText;
        QVERIFY_THROWS_EXCEPTION(KeyValueError,
                                 GetKeyValue(registry, reg::LocalMachine, kKey, QStringLiteral("PATH"), text));
        QCOMPARE(registry.openHandles(), 0);
    }

    void storeFile_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<long>("status");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("sz") << kKey << "Folder" << reg::Success << reg::TypeSz << QByteArray("/opt/zizure\0", 12);
        QTest::newRow("names and keys ignore case")
            << "software\\ZIZURE\\veroridovuz" << "FOLDER" << reg::Success << reg::TypeSz
            << QByteArray("/opt/zizure\0", 12);
        QTest::newRow("expand_sz")
            << kKey << "Expand" << reg::Success << reg::TypeExpandSz << QByteArray("$HOME/x y\0", 10);
        QTest::newRow("dword") << kKey << "Flags" << reg::Success << reg::TypeDword << QByteArray("\x2a\x01\0\0", 4);
        QTest::newRow("hex(7)") << kKey << "Multi" << reg::Success << 7u << QByteArray("A\0B\0\0\0", 6);
        QTest::newRow("empty value") << kKey << "Empty" << reg::Success << reg::TypeSz << QByteArray();
        QTest::newRow("default value") << kKey << "" << reg::Success << reg::TypeSz << QByteArray("default\0", 8);
        QTest::newRow("bad dword left out") << kKey << "Broken" << reg::FileNotFound << 0u << QByteArray();
        QTest::newRow("bad hex left out") << kKey << "BadHex" << reg::FileNotFound << 0u << QByteArray();
    }
    void storeFile()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(long, status);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("registry.ini"));
        MachineRegistry registry(file);
        qputenv("PATH", dir.path().toLocal8Bit());
        // Written after the store was made: every look-up reads the file afresh.
        writeFile(file, "; the product's values\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zizure\\Veroridovuz]\r\n"
                        "Folder=sz:/opt/zizure\r\n"
                        "  Expand = expand_sz:$HOME/x y\r\n"
                        "Flags=dword:0000012a\r\n"
                        "Multi=hex(7):41,00,42,00,00,00\r\n"
                        "Empty=hex(1):\r\n"
                        "@=sz:default\r\n"
                        "Broken=dword:xyz\r\n"
                        "BadHex=hex:01,,02\r\n");
        const Read r = readValue(registry, key, name);
        QCOMPARE(r.status, status);
        QCOMPARE(r.type, type);
        QCOMPARE(r.data, data);
    }

    void builtInAnswersPointAtTheSystemInfoProgram()
    {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        qputenv("PATH", bin.toLocal8Bit());
        MachineRegistry registry(dir.filePath(QStringLiteral("none.ini")));
        QString path;

        // No such program: neither key exists.
        QVERIFY(!GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QVERIFY(!GetKeyValue(registry, reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue, path));

        // A file that cannot be run does not count; one that can, does.
        writeFile(bin + QStringLiteral("/hardinfo"), "#!/bin/sh\n");
        writeFile(bin + QStringLiteral("/kinfocenter"), "#!/bin/sh\n", true);
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, bin + QStringLiteral("/kinfocenter"));
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue, path));
        QCOMPARE(path, bin);

        // hardinfo comes first when both are there.
        QFile::setPermissions(bin + QStringLiteral("/hardinfo"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, bin + QStringLiteral("/hardinfo"));
    }
};

QTEST_GUILESS_MAIN(tst_registry)
#include "tst_registry.moc"
