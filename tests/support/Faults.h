#pragma once
// Saves that fail for reasons outside the program: its folder read-only, the
// disk full, or folders standing where the list files belong. A fault can be
// lifted and armed again, so a test can show that the same save then succeeds.

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
    // Set up before the program starts; the folders in the list files' places
    // are there from the start, the other faults come with arm().
    FolderFault(App &app, WriteFault kind);
    ~FolderFault();
    FolderFault(const FolderFault &) = delete;
    FolderFault &operator=(const FolderFault &) = delete;

    // Why the machine cannot stage this fault; empty when it can.
    const QString &unavailable() const { return m_unavailable; }
    void arm();
    void lift();

private:
    App &m_app;
    WriteFault m_kind;
    QString m_mounted;
    QString m_unavailable;
};

// Every file and folder under folder (a folder as "<folder>"), with its contents.
QMap<QString, QByteArray> snapshot(const QString &folder);

} // namespace vz::test

Q_DECLARE_METATYPE(vz::test::WriteFault)
