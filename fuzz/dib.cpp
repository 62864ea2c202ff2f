// The picture loader on packed device-independent bitmaps (.dib without a
// file header: info header, colours, pixels). A DIB has no signature; inputs
// whose header is not a bitmap's are loaded too (the loader refuses them), but
// are not kept, so the corpus stays with DIBs.

#include "FuzzSupport.h"

#include "imaging/Dib.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    vz::fuzz::loadPictureFile(bytes);
    vz::fuzz::letTimersRun();
    return vz::picture::readDibInfo(bytes) ? 0 : -1;
}
