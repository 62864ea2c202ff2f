// Reading the registry: GetKeyValue's rules over an in-memory store, the
// Linux machine store (its file format and the built-in answers that point at
// a system-information program on PATH), and how the system information tool
// is found and started.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/about/SystemInfo.h"
#include "platform/x11/DesktopShell.h"
#include "platform/x11/MachineRegistry.h"
#include "support/MessageBoxCatcher.h"

using namespace vz;
using vz::test::MessageBoxCatcher;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Zizure\\Veroridovuz");

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// The desktop's shell, with a record of every command line it was asked to start.
class RecordingShell final : public Shell
{
public:
    void open(const QString &file) override { m_shell.open(file); }
    bool start(const QString &commandLine, Window window) override
    {
        started << commandLine;
        return m_shell.start(commandLine, window);
    }
    QStringList started;

private:
    DesktopShell m_shell;
};

} // namespace

class tst_registry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // "throws" for a value of zero bytes; "false" and "true" for the result.
    void getKeyValue_data()
    {
        QTest::addColumn<quint32>("access"); // 0: no such key
        QTest::addColumn<quint32>("type");   // 0: no such value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("text");
        const quint32 full = reg::KeyAllAccess, sz = reg::TypeSz;
        const QByteArray a1023(1023, 'a');
        QTest::newRow("text with closing zero")
            << full << sz << QByteArray("/usr/bin/hardinfo\0", 18) << "true" << "/usr/bin/hardinfo";
        QTest::newRow("text without closing zero") << full << sz << QByteArray("abc") << "true" << "abc";
        QTest::newRow("1024 bytes with closing zero")
            << full << sz << a1023 + '\0' << "true" << QString::fromLatin1(a1023);
        QTest::newRow("1025 bytes: not read") << full << sz << a1023 + QByteArray("b\0", 2) << "false" << "";
        QTest::newRow("zero bytes") << full << sz << QByteArray() << "throws" << "caller's";
        QTest::newRow("value missing") << full << 0u << QByteArray() << "false" << "";
        QTest::newRow("key missing") << 0u << 0u << QByteArray() << "false" << "";
        QTest::newRow("key without full access") << quint32(reg::KeyRead) << sz << QByteArray("abc") << "false" << "";
        QTest::newRow("expandable string: text kept")
            << full << quint32(reg::TypeExpandSz) << QByteArray("%ProgramFiles%\0", 15) << "true" << "caller's";
        QTest::newRow("DWORD 256: low zero byte and high zero bytes")
            << full << quint32(reg::TypeDword) << QByteArray("\0\x01\0\0", 4) << "true" << "256";
        QTest::newRow("DWORD all ones")
            << full << quint32(reg::TypeDword) << QByteArray(4, '\xff') << "true" << "4294967295";
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

    void storeFile_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("type"); // 0: left out
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("names and keys ignore case")
            << "software\\ZIZURE\\veroridovuz" << "FOLDER" << quint32(reg::TypeSz) << QByteArray("/opt/zizure\0", 12);
        QTest::newRow("expand_sz") << kKey << "Expand" << quint32(reg::TypeExpandSz) << QByteArray("$HOME/x y\0", 10);
        QTest::newRow("dword") << kKey << "Flags" << quint32(reg::TypeDword) << QByteArray("\x2a\x01\0\0", 4);
        QTest::newRow("empty value") << kKey << "Empty" << quint32(reg::TypeSz) << QByteArray();
        QTest::newRow("bad dword left out") << kKey << "Broken" << 0u << QByteArray();
        QTest::newRow("bad hex left out") << kKey << "BadHex" << 0u << QByteArray();
    }
    void storeFile()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("registry.ini"));
        MachineRegistry registry(file);
        qputenv("PATH", dir.path().toLocal8Bit());
        // Written after the store was made: every look-up reads the file afresh.
        writeFile(file, "; the product's values\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zizure\\Veroridovuz]\r\n"
                        "Folder=sz:/opt/zizure\r\n  Expand = expand_sz:$HOME/x y\r\nFlags=dword:0000012a\r\n"
                        "Multi=hex(7):41,00,42,00,00,00\r\nEmpty=hex(1):\r\n@=sz:default\r\n"
                        "Broken=dword:xyz\r\nBadHex=hex:01,,02\r\n");
        reg::HKey h = 0;
        QCOMPARE(registry.openKey(reg::LocalMachine, key, reg::KeyRead, h), reg::Success);
        QByteArray buffer(64, '\0');
        std::uint32_t readType = 0, length = 0;
        const long status = registry.queryValue(h, name, readType, {buffer.data(), size_t(buffer.size())}, length);
        registry.closeKey(h);
        QCOMPARE(status, type ? reg::Success : reg::FileNotFound);
        if (type) {
            QCOMPARE(readType, type);
            QCOMPARE(buffer.left(length), data);
        }
    }

    // hardinfo comes first, but only a file that can run counts.
    void builtInAnswersPointAtTheSystemInfoProgram()
    {
        QTemporaryDir dir;
        qputenv("PATH", dir.path().toLocal8Bit());
        MachineRegistry registry(dir.filePath(QStringLiteral("none.ini")));
        QString path;
        writeFile(dir.filePath(QStringLiteral("hardinfo")), "#!/bin/sh\n");
        writeFile(dir.filePath(QStringLiteral("kinfocenter")), "#!/bin/sh\n", true);
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, dir.filePath(QStringLiteral("kinfocenter")));
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue, path));
        QCOMPARE(path, dir.path());
        QFile::setPermissions(dir.filePath(QStringLiteral("hardinfo")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(GetKeyValue(registry, reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue, path));
        QCOMPARE(path, dir.filePath(QStringLiteral("hardinfo")));
    }

    // The registry's PATH value (type 0: none) and folder value; $D is a
    // folder holding tool and msinfo/MSINFO32.EXE, both of which can run.
    void startSysInfo_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("fullAccess");
        QTest::addColumn<QStringList>("started");
        auto row = [](const char *name, quint32 type, const QByteArray &path, const char *folder, bool fullAccess,
                      const QStringList &started) {
            QTest::newRow(name) << type << path << QString::fromLatin1(folder) << fullAccess << started;
        };
        const quint32 sz = reg::TypeSz;
        const QByteArray tool("$D/tool\0", 8);
        const QStringList msinfo{"$D/msinfo/MSINFO32.EXE"};
        row("PATH names the tool, no folder key", sz, tool, "", true, {"$D/tool"});
        row("no PATH, folder lacks MSINFO32.EXE", 0, {}, "$D", true, {});
        row("no PATH, folder holds MSINFO32.EXE", 0, {}, "$D/msinfo", true, msinfo);
        row("PATH over 1024 bytes: folder tried", sz, QByteArray(1100, 'x'), "$D/msinfo", true, msinfo);
        row("PATH of zero bytes: message at once", sz, {}, "$D/msinfo", true, {});
        row("PATH expandable: empty command line", reg::TypeExpandSz, tool, "$D/msinfo", true, {""});
        row("PATH names no program", sz, "$D/no-such-program", "", true, {"$D/no-such-program"});
        row("no full access to the keys", sz, tool, "$D/msinfo", false, {});
    }
    // Whatever did not start a program ends in the message.
    void startSysInfo()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, path);
        QFETCH(QString, folder);
        QFETCH(bool, fullAccess);
        QFETCH(QStringList, started);
        QTemporaryDir dir;
        const QString ran = dir.filePath(QStringLiteral("ran.txt"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("msinfo")));
        for (const char *name : {"tool", "msinfo/MSINFO32.EXE"})
            writeFile(dir.filePath(QString::fromLatin1(name)),
                      QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(ran).toUtf8(), true);
        RegistryTable registry;
        const std::uint32_t access = fullAccess ? reg::KeyAllAccess : reg::KeyRead;
        registry.addKey(reg::LocalMachine, reg::SysInfoKey, access);
        registry.addKey(reg::LocalMachine, reg::SysInfoFolderKey, access);
        if (type)
            registry.setValue(reg::LocalMachine, reg::SysInfoKey, reg::SysInfoValue,
                              {type, path.replace("$D", dir.path().toLocal8Bit())});
        if (!folder.isEmpty())
            registry.setValue(reg::LocalMachine, reg::SysInfoFolderKey, reg::SysInfoFolderValue,
                              {reg::TypeSz, folder.replace(u"$D"_qs, dir.path()).toLocal8Bit() + '\0'});

        RecordingShell shell;
        MessageBoxCatcher boxes;
        StartSysInfo(registry, shell, nullptr);

        QCOMPARE(shell.started, started.replaceInStrings(u"$D"_qs, dir.path()));
        const bool ranTool = !started.isEmpty() && QFileInfo(started[0]).isExecutable();
        QCOMPARE(boxes.boxes().size(), size_t(ranTool ? 0 : 1));
        if (!ranTool)
            QCOMPARE(boxes.boxes()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        else
            QTRY_VERIFY(QFile::exists(ran));
        QCOMPARE(registry.openHandles(), 0);
    }
};

QTEST_MAIN(tst_registry)
#include "tst_registry.moc"
