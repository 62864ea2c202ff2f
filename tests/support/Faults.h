#pragma once
// Saves that fail for reasons outside the program: its folder on a read-only
// or a full disk, or folders where the list files belong. A fault can be
// lifted and armed again, to show that the same save then succeeds.

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
    // Before the program starts: its folder goes onto a small disk of its own;
    // folders in the list files' places are there at once.
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
    QString m_unavailable;
};

// Every file and folder under folder (a folder as "<folder>"), with its contents.
QMap<QString, QByteArray> snapshot(const QString &folder);

} // namespace vz::test

Q_DECLARE_METATYPE(vz::test::WriteFault)
