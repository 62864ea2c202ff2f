#include "platform/qt/NativeSettingsStore.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "platform/Logging.h"

namespace vz {

namespace {

std::unique_ptr<QSettings> open(const QString &folder, const QString &app)
{
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return std::make_unique<QSettings>(folder + u'/' + app + u'/' + app + QStringLiteral(".conf"),
                                       QSettings::IniFormat);
}

QString keyPath(const QString &section, const QString &key) { return section + u'/' + key; }

} // namespace

QString NativeSettingsStore::get(const QString &app, const QString &section, const QString &key,
                                 const QString &fallback) const
{
    const auto settings = open(m_folder, app);
    if (settings->status() != QSettings::NoError)
        qCWarning(lcPlatform) << "settings store" << settings->fileName() << "unreadable:" << settings->status();
    const QVariant value = settings->value(keyPath(section, key));
    if (!value.isValid())
        return fallback;
    // A hand-edited "a, b" comes back from the INI reader as a list; the store
    // only knows text, so it is joined again.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

Result<> NativeSettingsStore::save(const QString &app, const QString &section, const QString &key,
                                  const QString &value)
{
    const auto settings = open(m_folder, app);
    settings->setValue(keyPath(section, key), value);
    settings->sync();
    switch (settings->status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return Failure{QStringLiteral("cannot write %1").arg(settings->fileName())};
    case QSettings::FormatError:
        return Failure{QStringLiteral("%1 is damaged").arg(settings->fileName())};
    }
    return {};
}

QString NativeSettingsStore::folder(const QString &app) const
{
    return QFileInfo(open(m_folder, app)->fileName()).absolutePath();
}

} // namespace vz
