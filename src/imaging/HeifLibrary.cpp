#include "imaging/HeifLibrary.h"

#include "imaging/Logging.h"

#include <QLibrary>

namespace vz::picture::heif {

namespace {

std::unique_ptr<Library> load()
{
    // The major version names the interface this program was built against.
    QLibrary file(QStringLiteral("heif"), 1);
    if (!file.load()) {
        qCWarning(lcImaging) << "HEIF and AVIF pictures cannot be shown:" << file.errorString();
        return nullptr;
    }
    auto found = std::make_unique<Library>();
    bool complete = true;
#define VZ_HEIF_RESOLVE(name)                                                                 \
    found->name = reinterpret_cast<decltype(&::name)>(file.resolve(#name));                  \
    complete = complete && found->name;
    VZ_HEIF_FUNCTIONS(VZ_HEIF_RESOLVE)
#undef VZ_HEIF_RESOLVE
    if (!complete) {
        qCWarning(lcImaging) << "HEIF and AVIF pictures cannot be shown: the installed libheif lacks functions";
        return nullptr;
    }
    // Loaded for the rest of the program: QLibrary leaves it loaded.
    return found;
}

} // namespace

const Library *library()
{
    static const std::unique_ptr<Library> loaded = load();
    return loaded.get();
}

} // namespace vz::picture::heif
