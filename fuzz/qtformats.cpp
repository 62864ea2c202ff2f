// The picture loader on the formats that Qt's readers decode: PNG, WebP and
// TIFF. An input that starts with none of their signatures gets a PNG's.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vz::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    bool known = input.startsWith("RIFF") && input.sliced(qMin<qsizetype>(input.size(), 8)).startsWith("WEBP");
    for (const QByteArrayView signature : {QByteArrayView("\x89PNG\r\n\x1A\n"), QByteArrayView("II*\0", 4),
                                           QByteArrayView("MM\0*", 4), QByteArrayView("II+\0", 4)})
        known = known || input.startsWith(signature);
    const QByteArray bytes(input.data(), input.size());
    vz::fuzz::loadPictureFile(known ? bytes : vz::fuzz::withSignature(data, size, "\x89PNG\r\n\x1A\n"));
    vz::fuzz::letTimersRun();
    return 0;
}
