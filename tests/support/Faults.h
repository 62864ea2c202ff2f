#pragma once
// Saves that fail for reasons outside the program: its folder read-only, the
// disk full, or a folder standing where a list file belongs. Each fault can be
// lifted again, so that a test can show that the same save then succeeds.

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QString>

namespace vz::test {

class App;

enum class WriteFault { ReadOnlyFolder, DiskFull, FolderForListFile };

// One data row per fault, in a column named "fault".
void addWriteFaultRows();

class FolderFault
{
public:
    // Set up before the program starts: the disk-full fault puts the folder
    // (with the files in it) on a small file system of its own. listFile is
    // the list file the save replaces.
    FolderFault(App &app, WriteFault kind, const QString &listFile);
    ~FolderFault();
    FolderFault(const FolderFault &) = delete;
    FolderFault &operator=(const FolderFault &) = delete;

    // Why the machine cannot stage this fault; empty when it can.
    const QString &unavailable() const { return m_unavailable; }
    // Makes the next save fail.
    void arm();
    // Lets saves succeed again.
    void lift();

private:
    App &m_app;
    WriteFault m_kind;
    QString m_listFile;
    QString m_mounted;
    QString m_unavailable;
};

// Every file and folder under folder (a folder as "<folder>"), with its contents.
QMap<QString, QByteArray> snapshot(const QString &folder);

} // namespace vz::test

Q_DECLARE_METATYPE(vz::test::WriteFault)
