#pragma once
// The drive box of a browser. A "drive" here is a mounted filesystem, named by
// the folder it is mounted on: filesystems on real devices first, then the
// others; "/" is always present and is the drive to fall back to.
// The mounts are read when the box is first shown or asked for a drive, so a
// dialog loaded hidden (as the show loads its dialogs) reads none; the drive
// chosen then is the one that holds the current folder, without a change report.

#include <QComboBox>

namespace vz {

class DriveBox : public QComboBox
{
    Q_OBJECT
public:
    // The drive every browser falls back to when the chosen one cannot be read.
    static inline const QString kFallbackDrive = QStringLiteral("/");

    explicit DriveBox(QWidget *parent = nullptr);

    // The folder the chosen drive is mounted on.
    QString drive();
    // Chooses the drive that holds path (the longest mount folder above it).
    void setDrive(const QString &path);

    // Offers one more drive, as a drive that came and went would be offered.
    void addDrive(const QString &root, const QString &label = {});

Q_SIGNALS:
    // The chosen drive changed, by the user or by code.
    void changed();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ensureListed();
    void fill();
    void append(const QString &root, const QString &label);
    void choose(const QString &path);

    bool m_listed = false;
};

} // namespace vz
