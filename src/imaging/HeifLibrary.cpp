#include "imaging/HeifLibrary.h"

#include "imaging/Logging.h"

#include <QLibrary>

namespace vz::picture::heif {

namespace {

Result<Functions> load()
{
    // By its soname: version 1 is the interface of the header built against.
    // The library stays loaded when the QLibrary goes.
    QLibrary file(QStringLiteral("libheif.so.1"));
    QString missing;
    Functions found;
    if (file.load()) {
#define VZ_HEIF_RESOLVE(name) \
    found.name = reinterpret_cast<decltype(&::name)>(file.resolve(#name)); \
    if (!found.name && missing.isEmpty()) \
        missing = QStringLiteral("the HEIF library %1 lacks %2").arg(file.fileName(), QStringLiteral(#name));
        VZ_HEIF_FUNCTIONS(VZ_HEIF_RESOLVE)
#undef VZ_HEIF_RESOLVE
    } else {
        missing = QStringLiteral("the HEIF library cannot be loaded: %1").arg(file.errorString());
    }
    if (missing.isEmpty())
        return found;
    qCWarning(lcImaging).noquote() << "HEIF and AVIF pictures cannot be shown:" << missing;
    return Failure{QStringLiteral("The picture cannot be shown: %1.").arg(missing)};
}

} // namespace

const Result<Functions> &library()
{
    static const Result<Functions> loaded = load();
    return loaded;
}

} // namespace vz::picture::heif
