// The picture loader on GIF files: an input that does not start with a GIF
// signature gets "GIF89a" in its first six bytes.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool signed87 = input.startsWith("GIF87a");
    vz::fuzz::loadPictureFile(vz::fuzz::withSignature(data, size, signed87 ? "GIF87a" : "GIF89a"));
    vz::fuzz::letTimersRun();
    return 0;
}
